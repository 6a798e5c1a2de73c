C     compute.f: computing on the GPU from Fortran 77, with OpenGL 4.3
C     compute shaders.
C
C     The program fills an INTEGER*4 array of N values (a square wave
C     with noise), uploads it to a shader storage buffer and smooths it
C     by NSTEP steps of the stencil (u(i-1) + 2 u(i) + u(i+1)) / 4 (the
C     end values stay), each a dispatch of a compute shader that reads
C     one storage buffer and writes the other; the two buffers change
C     places after every step, with a memory barrier between steps. A
C     second compute shader sums the result: each work group adds its
C     256 values as a tree in shared memory and adds its part to the
C     total with atomicAdd. The result and the sum are read back with
C     fglGetBufferSubDataI4 (sizes in bytes as INTEGER*4) and compared
C     value by value with the same steps done here on the processor:
C     integer arithmetic on both sides, so they must agree exactly. The
C     program prints "COMPUTE OK n sum max-difference", or "COMPUTE
C     FAILED bad gpu-sum cpu-sum" and stops with status 1. A third
C     shader counts the values above a threshold with an atomic counter
C     and writes the steps between neighbours into an image (texture
C     storage, image load/store); the count and the image are read back
C     and checked the same way: "COUNTER OK threshold count" and "IMAGE
C     OK width height largest-step", or "COUNTER FAILED" or "IMAGE
C     FAILED" and status 1.
C
C     The window "Fortran compute" (320x240) then shows the result as
C     points: the storage buffer is bound as the vertex buffer (no copy;
C     a memory barrier makes the shader's writes visible to vertex
C     fetching), the point's height and colour from its value and its
C     place along the window from its index. Every frame reads its
C     middle pixel back and prints it ("CENTRE r g b a").
C
C     compute_direct.c beside this file does the same in C with direct
C     OpenGL calls.
C
C     Build:  gfortran -std=legacy compute.f -lfglut -lfgl
C        or:  flang-new-16 compute.f -lfglut -lfgl
C        or:  f2c compute.f && cc compute.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM FCOMP
      INCLUDE 'fglut.inc'
      INCLUDE 'fglutx.inc'
      INTEGER*4 FGLUTCREATEWINDOWC
      INTEGER*4 IWIN
      EXTERNAL DISPLY, RESHAP
      CALL FGLUTINIT
      CALL FGLUTINITCONTEXTVERSION(4, 3)
      CALL FGLUTINITCONTEXTPROFILE(GLUT_CORE_PROFILE)
      CALL FGLUTINITDISPLAYMODE(GLUT_RGBA + GLUT_DOUBLE)
      CALL FGLUTINITWINDOWSIZE(320, 240)
      IWIN = FGLUTCREATEWINDOWC('Fortran compute')
      CALL FGLUTDISPLAYFUNC(DISPLY)
      CALL FGLUTRESHAPEFUNC(RESHAP)
      CALL SETUP
      CALL FGLUTMAINLOOP
      END

C     The OpenGL objects, the window size and the arrays: U the values
C     uploaded, V the processor's result, GPU the one read back.
      BLOCK DATA COMPBD
      INTEGER*4 N, NSTEP
      PARAMETER (N = 1024, NSTEP = 8)
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      INTEGER*4 U(N), V(N), GPU(N), ITOTAL(1), IMG(N), IABOVE(1)
      COMMON /ARRS/ U, V, GPU, ITOTAL, IMG, IABOVE
      DATA ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX / 10*0 /
      DATA IW, IH / 320, 240 /
      END

C     The shaders: the stencil step, the sum, and the points' vertex and
C     fragment shaders.
      SUBROUTINE SETUP
      INCLUDE 'fgl20.inc'
      INCLUDE 'fgl43.inc'
      INTEGER*4 SHADER, PROGRM
      INTEGER*4 N1, N2, N3, NV, NF
      PARAMETER (N1 = 13, N2 = 17, N3 = 12, NV = 11, NF = 4)
      CHARACTER*64 CS1(N1), CS2(N2), CS3(N3), VS(NV), FS(NF)
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      DATA CS1(1) /'#version 430 core'/
      DATA CS1(2) /'layout(local_size_x = 256) in;'/
      DATA CS1(3) /'layout(std430, binding = 0) readonly buffer Src {'/
      DATA CS1(4) /'  int u[]; };'/
      DATA CS1(5) /'layout(std430, binding = 1) writeonly buffer Dst {'/
      DATA CS1(6) /'  int v[]; };'/
      DATA CS1(7) /'void main() {'/
      DATA CS1(8) /'  int i = int(gl_GlobalInvocationID.x);'/
      DATA CS1(9) /'  int n = u.length();'/
      DATA CS1(10) /'  if (i == 0 || i == n - 1) v[i] = u[i];'/
      DATA CS1(11) /'  else if (i < n)'/
      DATA CS1(12) /'    v[i] = (u[i - 1] + 2 * u[i] + u[i + 1]) / 4;'/
      DATA CS1(13) /'}'/
      DATA CS2(1) /'#version 430 core'/
      DATA CS2(2) /'layout(local_size_x = 256) in;'/
      DATA CS2(3) /'layout(std430, binding = 0) readonly buffer Src {'/
      DATA CS2(4) /'  int u[]; };'/
      DATA CS2(5)
     &  /'layout(std430, binding = 2) buffer Total { int total; };'/
      DATA CS2(6) /'shared int part[256];'/
      DATA CS2(7) /'void main() {'/
      DATA CS2(8) /'  uint l = gl_LocalInvocationID.x;'/
      DATA CS2(9) /'  int i = int(gl_GlobalInvocationID.x);'/
      DATA CS2(10) /'  part[l] = i < u.length() ? u[i] : 0;'/
      DATA CS2(11) /'  barrier();'/
      DATA CS2(12) /'  for (uint s = 128u; s > 0u; s >>= 1) {'/
      DATA CS2(13) /'    if (l < s) part[l] += part[l + s];'/
      DATA CS2(14) /'    barrier();'/
      DATA CS2(15) /'  }'/
      DATA CS2(16) /'  if (l == 0u) atomicAdd(total, part[0]);'/
      DATA CS2(17) /'}'/
      DATA CS3(1) /'#version 430 core'/
      DATA CS3(2) /'layout(local_size_x = 256) in;'/
      DATA CS3(3) /'layout(std430, binding = 0) readonly buffer Src {'/
      DATA CS3(4) /'  int u[]; };'/
      DATA CS3(5)
     &  /'layout(binding = 0, offset = 0) uniform atomic_uint above;'/
      DATA CS3(6)
     &  /'layout(binding = 0, r32i) writeonly uniform iimage2D steps;'/
      DATA CS3(7) /'uniform int limit;'/
      DATA CS3(8) /'void main() {'/
      DATA CS3(9) /'  int i = int(gl_GlobalInvocationID.x);'/
      DATA CS3(10)
     &  /'  if (u[i] > limit) atomicCounterIncrement(above);'/
      DATA CS3(11) /'  imageStore(steps, ivec2(i % 32, i / 32),'/
      DATA CS3(12) /'    ivec4(i == 0 ? 0 : u[i] - u[i - 1])); }'/
      DATA VS(1) /'#version 430 core'/
      DATA VS(2) /'layout(location = 0) in int v;'/
      DATA VS(3) /'uniform int n;'/
      DATA VS(4) /'out vec3 c;'/
      DATA VS(5) /'void main() {'/
      DATA VS(6) /'  float t = float(v) / 1000.0;'/
      DATA VS(7) /'  float x = float(gl_VertexID) / float(n - 1);'/
      DATA VS(8) /'  c = vec3(t, 0.25, 1.0 - t);'/
      DATA VS(9)
     &  /'  gl_Position = vec4(1.75 * x - 0.875, 1.75 * t - 0.875,'/
      DATA VS(10) /'    0.0, 1.0);'/
      DATA VS(11) /'}'/
      DATA FS(1) /'#version 430 core'/
      DATA FS(2) /'in vec3 c;'/
      DATA FS(3) /'out vec4 colour;'/
      DATA FS(4) /'void main() { colour = vec4(c, 1.0); }'/

      ISTEP = PROGRM(SHADER(GL_COMPUTE_SHADER, CS1, N1), 0)
      ISUM = PROGRM(SHADER(GL_COMPUTE_SHADER, CS2, N2), 0)
      ICOUNT = PROGRM(SHADER(GL_COMPUTE_SHADER, CS3, N3), 0)
      IDRAW = PROGRM(SHADER(GL_VERTEX_SHADER, VS, NV),
     &  SHADER(GL_FRAGMENT_SHADER, FS, NF))
      CALL COMPUT
      CALL POINTS
      END

C     Compiles one shader from N lines; prints the log and stops if it
C     does not compile.
      INTEGER*4 FUNCTION SHADER(KIND, LINES, N)
      INTEGER*4 KIND, N
      CHARACTER*(*) LINES(N)
      INCLUDE 'fgl20.inc'
      INTEGER*4 FGLCREATESHADER, FGLGETSHADERINFOLOGC
      INTEGER*4 IOK, M
      CHARACTER*2000 TEXT
      SHADER = FGLCREATESHADER(KIND)
      CALL FGLSHADERSOURCEC(SHADER, N, LINES)
      CALL FGLCOMPILESHADER(SHADER)
      CALL FGLGETSHADERIV(SHADER, GL_COMPILE_STATUS, IOK)
      IF (IOK .EQ. 0) THEN
        M = FGLGETSHADERINFOLOGC(SHADER, TEXT)
        WRITE (*, '(A)') 'COMPILE FAILED'
        WRITE (*, '(A)') TEXT(1:MIN(M, LEN(TEXT)))
        CALL FLUSH(6)
        STOP 1
      END IF
      END

C     Links a program of shader IA and, unless it is 0, shader IB;
C     prints the log and stops if it does not link.
      INTEGER*4 FUNCTION PROGRM(IA, IB)
      INTEGER*4 IA, IB
      INCLUDE 'fgl20.inc'
      INTEGER*4 FGLCREATEPROGRAM, FGLGETPROGRAMINFOLOGC
      INTEGER*4 IOK, M
      CHARACTER*2000 TEXT
      PROGRM = FGLCREATEPROGRAM()
      CALL FGLATTACHSHADER(PROGRM, IA)
      IF (IB .NE. 0) CALL FGLATTACHSHADER(PROGRM, IB)
      CALL FGLLINKPROGRAM(PROGRM)
      CALL FGLGETPROGRAMIV(PROGRM, GL_LINK_STATUS, IOK)
      IF (IOK .EQ. 0) THEN
        M = FGLGETPROGRAMINFOLOGC(PROGRM, TEXT)
        WRITE (*, '(A)') 'LINK FAILED'
        WRITE (*, '(A)') TEXT(1:MIN(M, LEN(TEXT)))
        CALL FLUSH(6)
        STOP 1
      END IF
      CALL FGLDELETESHADER(IA)
      IF (IB .NE. 0) CALL FGLDELETESHADER(IB)
      END

C     The computation on the GPU, then on the processor, and the check.
      SUBROUTINE COMPUT
      INCLUDE 'fgl15.inc'
      INCLUDE 'fgl42.inc'
      INCLUDE 'fgl43.inc'
C     N is a multiple of the work group's size, LOCAL.
      INTEGER*4 N, NSTEP, LOCAL, NGROUP
      PARAMETER (N = 1024, NSTEP = 8, LOCAL = 256, NGROUP = N / LOCAL)
      INTEGER*4 I, J, K, NBAD, MAXDIF, IS
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      INTEGER*4 U(N), V(N), GPU(N), ITOTAL(1), IMG(N), IABOVE(1)
      COMMON /ARRS/ U, V, GPU, ITOTAL, IMG, IABOVE
      DO 10 I = 1, N
        U(I) = 500 * MOD(I / 128, 2) + MOD(I * I * 37 + I * 11, 400)
     &    + 50
   10 CONTINUE
      ITOTAL(1) = 0
      CALL FGLGENBUFFERS(4, IBUF)
      CALL FGLBINDBUFFER(GL_SHADER_STORAGE_BUFFER, IBUF(1))
      CALL FGLBUFFERDATAI4(GL_SHADER_STORAGE_BUFFER, 4 * N, U,
     &  GL_DYNAMIC_DRAW)
      CALL FGLBINDBUFFER(GL_SHADER_STORAGE_BUFFER, IBUF(2))
      CALL FGLBUFFERDATAI4(GL_SHADER_STORAGE_BUFFER, 4 * N, U,
     &  GL_DYNAMIC_DRAW)
      CALL FGLBINDBUFFER(GL_SHADER_STORAGE_BUFFER, IBUF(3))
      CALL FGLBUFFERDATAI4(GL_SHADER_STORAGE_BUFFER, 4, ITOTAL,
     &  GL_DYNAMIC_DRAW)
C     Step K reads buffer 1 and writes buffer 2 when K is odd, the other
C     way round when it is even: after an even number of steps the
C     result is in buffer 1.
      CALL FGLUSEPROGRAM(ISTEP)
      DO 20 K = 1, NSTEP
        J = MOD(K - 1, 2)
        CALL FGLBINDBUFFERBASE(GL_SHADER_STORAGE_BUFFER, 0, IBUF(1 + J))
        CALL FGLBINDBUFFERBASE(GL_SHADER_STORAGE_BUFFER, 1, IBUF(2 - J))
        CALL FGLDISPATCHCOMPUTE(NGROUP, 1, 1)
        CALL FGLMEMORYBARRIER(GL_SHADER_STORAGE_BARRIER_BIT)
   20 CONTINUE
      CALL FGLUSEPROGRAM(ISUM)
      CALL FGLBINDBUFFERBASE(GL_SHADER_STORAGE_BUFFER, 0, IBUF(1))
      CALL FGLBINDBUFFERBASE(GL_SHADER_STORAGE_BUFFER, 2, IBUF(3))
      CALL FGLDISPATCHCOMPUTE(NGROUP, 1, 1)
      CALL FGLMEMORYBARRIER(GL_BUFFER_UPDATE_BARRIER_BIT +
     &  GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT)
      CALL FGLBINDBUFFER(GL_SHADER_STORAGE_BUFFER, IBUF(1))
      CALL FGLGETBUFFERSUBDATAI4(GL_SHADER_STORAGE_BUFFER, 0, 4 * N,
     &  GPU)
      CALL FGLBINDBUFFER(GL_SHADER_STORAGE_BUFFER, IBUF(3))
      CALL FGLGETBUFFERSUBDATAI4(GL_SHADER_STORAGE_BUFFER, 0, 4, ITOTAL)
      CALL CPU(IS)
      NBAD = 0
      MAXDIF = 0
      DO 30 I = 1, N
        IF (GPU(I) .NE. V(I)) NBAD = NBAD + 1
        MAXDIF = MAX(MAXDIF, ABS(GPU(I) - V(I)))
   30 CONTINUE
      IF (NBAD .NE. 0 .OR. ITOTAL(1) .NE. IS) THEN
        WRITE (*, '(A, I8, 2I12)') 'COMPUTE FAILED', NBAD, ITOTAL(1), IS
        CALL FLUSH(6)
        STOP 1
      END IF
      WRITE (*, '(A, I8, I12, I4)') 'COMPUTE OK', N, ITOTAL(1), MAXDIF
      CALL FLUSH(6)
      CALL TALLY
      END

C     The result read once more by a third compute shader: it counts the
C     values above LIMIT with an atomic counter (buffer 4, bound to
C     GL_ATOMIC_COUNTER_BUFFER binding 0) and stores the step from each
C     value's left neighbour (0 for the first) into a 32 x 32 image of
C     INTEGER*4 texels (GL_R32I texture storage bound to image unit 0),
C     value I at column MOD(I - 1, 32) of row (I - 1) / 32. After a
C     barrier for buffer and texture read-back, the counter is read with
C     fglGetBufferSubDataI4 and the image with fglGetTexImageI4, one
C     texel to an INTEGER*4 element; both are compared with the same
C     count and steps done here from the processor's result V. (The
C     image's own calls are in MKIMG and RDIMG: one routine including
C     the five files of constants would have more names than f2c takes.)
      SUBROUTINE TALLY
      INCLUDE 'fgl15.inc'
      INCLUDE 'fgl42.inc'
      INCLUDE 'fgl43.inc'
      INTEGER*4 FGLGETUNIFORMLOCATIONC
      INTEGER*4 N, LOCAL, NGROUP, LIMIT, NSIDE
      PARAMETER (N = 1024, LOCAL = 256, NGROUP = N / LOCAL)
      PARAMETER (LIMIT = 500, NSIDE = 32)
      INTEGER*4 I, ISTP, NABOVE, NBAD, MAXSTP
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      INTEGER*4 U(N), V(N), GPU(N), ITOTAL(1), IMG(N), IABOVE(1)
      COMMON /ARRS/ U, V, GPU, ITOTAL, IMG, IABOVE
      IABOVE(1) = 0
      CALL FGLBINDBUFFER(GL_ATOMIC_COUNTER_BUFFER, IBUF(4))
      CALL FGLBUFFERDATAI4(GL_ATOMIC_COUNTER_BUFFER, 4, IABOVE,
     &  GL_DYNAMIC_DRAW)
      CALL FGLBINDBUFFERBASE(GL_ATOMIC_COUNTER_BUFFER, 0, IBUF(4))
      CALL MKIMG(NSIDE)
      CALL FGLUSEPROGRAM(ICOUNT)
      CALL FGLUNIFORM1I(FGLGETUNIFORMLOCATIONC(ICOUNT, 'limit'), LIMIT)
      CALL FGLBINDBUFFERBASE(GL_SHADER_STORAGE_BUFFER, 0, IBUF(1))
      CALL FGLDISPATCHCOMPUTE(NGROUP, 1, 1)
      CALL FGLMEMORYBARRIER(GL_BUFFER_UPDATE_BARRIER_BIT +
     &  GL_TEXTURE_UPDATE_BARRIER_BIT)
      CALL FGLGETBUFFERSUBDATAI4(GL_ATOMIC_COUNTER_BUFFER, 0, 4, IABOVE)
      CALL RDIMG(IMG, N)
      NABOVE = 0
      NBAD = 0
      MAXSTP = 0
      DO 10 I = 1, N
        IF (V(I) .GT. LIMIT) NABOVE = NABOVE + 1
        ISTP = 0
        IF (I .GT. 1) ISTP = V(I) - V(I - 1)
        IF (IMG(I) .NE. ISTP) NBAD = NBAD + 1
        MAXSTP = MAX(MAXSTP, ABS(ISTP))
   10 CONTINUE
      IF (IABOVE(1) .NE. NABOVE) THEN
        WRITE (*, '(A, 2I8)') 'COUNTER FAILED', IABOVE(1), NABOVE
        CALL FLUSH(6)
        STOP 1
      END IF
      WRITE (*, '(A, 2I8)') 'COUNTER OK', LIMIT, IABOVE(1)
      IF (NBAD .NE. 0) THEN
        WRITE (*, '(A, I8)') 'IMAGE FAILED', NBAD
        CALL FLUSH(6)
        STOP 1
      END IF
      WRITE (*, '(A, 2I4, I8)') 'IMAGE OK', NSIDE, NSIDE, MAXSTP
      CALL FLUSH(6)
      END

C     The image: NSIDE x NSIDE texels of one INTEGER*4 each (immutable
C     GL_R32I storage), bound to image unit 0 for the shader to write.
      SUBROUTINE MKIMG(NSIDE)
      INTEGER*4 NSIDE
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl15.inc'
      INCLUDE 'fgl30.inc'
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      CALL FGLGENTEXTURES(1, ITEX)
      CALL FGLBINDTEXTURE(GL_TEXTURE_2D, ITEX)
      CALL FGLTEXSTORAGE2D(GL_TEXTURE_2D, 1, GL_R32I, NSIDE, NSIDE)
      CALL FGLBINDIMAGETEXTUREI4(0, ITEX, 0, GL_FALSE, 0, GL_WRITE_ONLY,
     &  GL_R32I)
      END

C     The image's N texels read back, row after row, into IMG.
      SUBROUTINE RDIMG(IMG, N)
      INTEGER*4 N, IMG(N)
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl30.inc'
      CALL FGLGETTEXIMAGEI4(GL_TEXTURE_2D, 0, GL_RED_INTEGER, GL_INT,
     &  IMG, N)
      END

C     The same steps on the processor: the result in V, its sum in IS.
      SUBROUTINE CPU(IS)
      INTEGER*4 IS
      INTEGER*4 N, NSTEP
      PARAMETER (N = 1024, NSTEP = 8)
      INTEGER*4 I, K, W(N)
      INTEGER*4 U(N), V(N), GPU(N), ITOTAL(1), IMG(N), IABOVE(1)
      COMMON /ARRS/ U, V, GPU, ITOTAL, IMG, IABOVE
      DO 10 I = 1, N
        V(I) = U(I)
   10 CONTINUE
      DO 40 K = 1, NSTEP
        DO 20 I = 1, N
          W(I) = V(I)
   20   CONTINUE
        DO 30 I = 2, N - 1
          V(I) = (W(I - 1) + 2 * W(I) + W(I + 1)) / 4
   30   CONTINUE
   40 CONTINUE
      IS = 0
      DO 50 I = 1, N
        IS = IS + V(I)
   50 CONTINUE
      END

C     The points: buffer 1, where the result is, as the vertex buffer of
C     one INTEGER*4 attribute; the count reaches the vertex shader as a
C     uniform.
      SUBROUTINE POINTS
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl15.inc'
      INTEGER*4 FGLGETUNIFORMLOCATIONC
      INTEGER*4 N
      PARAMETER (N = 1024)
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      CALL FGLGENVERTEXARRAYS(1, IVAO)
      CALL FGLBINDVERTEXARRAY(IVAO)
      CALL FGLBINDBUFFER(GL_ARRAY_BUFFER, IBUF(1))
      CALL FGLVERTEXATTRIBIPOINTEROFFSETI4(0, 1, GL_INT, 0, 0)
      CALL FGLENABLEVERTEXATTRIBARRAY(0)
      CALL FGLUSEPROGRAM(IDRAW)
      CALL FGLUNIFORM1I(FGLGETUNIFORMLOCATIONC(IDRAW, 'n'), N)
      CALL FGLPOINTSIZE(3.0)
      END

      SUBROUTINE RESHAP(W, H)
      INTEGER*4 W, H
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      IW = W
      IH = H
      CALL FGLVIEWPORT(0, 0, W, H)
      END

C     One frame: the points on white; the middle pixel is read back
C     before the buffers are swapped.
      SUBROUTINE DISPLY
      INCLUDE 'fgl.inc'
      INTEGER*4 N
      PARAMETER (N = 1024)
      INTEGER*4 I
      REAL*4 P(4)
      INTEGER*4 ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF(4), ITEX, IW, IH
      COMMON /OBJS/ ISTEP, ISUM, ICOUNT, IDRAW, IVAO, IBUF, ITEX, IW, IH
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWARRAYS(GL_POINTS, 0, N)
      CALL FGLFINISH
      CALL FGLREADPIXELS(IW / 2, IH / 2, 1, 1, GL_RGBA, GL_FLOAT, P)
      WRITE (*, '(A, 4I4)') 'CENTRE', (NINT(255.0 * P(I)), I = 1, 4)
      CALL FLUSH(6)
      CALL FGLUTSWAPBUFFERS
      END
