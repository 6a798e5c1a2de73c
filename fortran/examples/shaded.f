C     shaded.f: a programmable OpenGL 3.3 core-profile program in
C     Fortran 77.
C
C     The window "Fortran shaded" (320x240) shows three copies of a lit,
C     checker-textured height field (one instanced draw). The surface is
C     a 17x17 grid of vertices in a vertex buffer and its triangles in
C     an element buffer, both recorded in a vertex array object; the two
C     matrices reach the vertex shader through a uniform block backed by
C     a buffer. Every frame is drawn into a framebuffer object (colour
C     and depth renderbuffers the size of the window) and copied to the
C     window with fglBlitFramebuffer; a fence sync is waited on before
C     the middle pixel is read back from the framebuffer object and
C     printed ("CENTRE r g b a").
C
C     The shaders are CHARACTER lines initialised by DATA and handed to
C     fglShaderSourceC; if one fails to compile, or the program to link,
C     the log is printed through fglGetShaderInfoLogC and
C     fglGetProgramInfoLogC. Buffers are filled by fglBufferDataI4
C     (sizes in bytes as INTEGER*4) and the vertex layout is given by
C     byte offsets (fglVertexAttribPointerOffsetI4): no addresses are
C     needed. A GLboolean argument takes the INTEGER*4 GL_FALSE.
C
C     shaded_direct.c beside this file draws the same picture in C with
C     direct OpenGL calls. Every REAL value is an exact binary fraction,
C     so that every compiler hands OpenGL the same bits.
C
C     Build:  gfortran -std=legacy shaded.f -lfglut -lfgl
C        or:  f2c shaded.f && cc shaded.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM SHADED
      INCLUDE 'fglut.inc'
      INCLUDE 'fglutx.inc'
      INTEGER*4 FGLUTCREATEWINDOWC
      INTEGER*4 IWIN
      EXTERNAL DISPLY, RESHAP
      CALL FGLUTINIT
      CALL FGLUTINITCONTEXTVERSION(3, 3)
      CALL FGLUTINITCONTEXTPROFILE(GLUT_CORE_PROFILE)
      CALL FGLUTINITDISPLAYMODE(GLUT_RGBA + GLUT_SINGLE)
      CALL FGLUTINITWINDOWSIZE(320, 240)
      IWIN = FGLUTCREATEWINDOWC('Fortran shaded')
      CALL FGLUTDISPLAYFUNC(DISPLY)
      CALL FGLUTRESHAPEFUNC(RESHAP)
      CALL SETUP
      CALL FGLUTMAINLOOP
      END

C     The OpenGL objects and the window size.
      BLOCK DATA SHADBD
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      DATA IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD / 9*0 /
      DATA IW, IH / 320, 240 /
      END

C     The shaders. The vertex shader places each instance beside the
C     others and takes the normal from the height function
C     y = (1 - x*x) * (1 - z*z) / 2; the fragment shader lights the
C     texture with one directional light.
      SUBROUTINE SETUP
      INCLUDE 'fgl20.inc'
      INTEGER*4 FGLCREATEPROGRAM, FGLGETPROGRAMINFOLOGC
      INTEGER*4 FGLGETUNIFORMBLOCKINDEXC
      INTEGER*4 NV, NF
      PARAMETER (NV = 14, NF = 10)
      CHARACTER*64 VS(NV), FS(NF)
      INTEGER*4 IVS, IFS, IOK, IBLOCK, N, SHADER
      CHARACTER*2000 TEXT
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      DATA VS(1) /'#version 330 core'/
      DATA VS(2) /'layout(std140) uniform Matrices {'/
      DATA VS(3) /'  mat4 proj;'/
      DATA VS(4) /'  mat4 view;'/
      DATA VS(5) /'};'/
      DATA VS(6) /'layout(location = 0) in vec3 pos;'/
      DATA VS(7) /'layout(location = 1) in vec2 uv;'/
      DATA VS(8) /'out vec2 tuv; out vec3 nrm;'/
      DATA VS(9) /'void main() {'/
      DATA VS(10) /'  float dx = float(gl_InstanceID - 1) * 1.25;'/
      DATA VS(11) /'  nrm = vec3(pos.x * (1.0 - pos.z * pos.z), 1.0,'/
      DATA VS(12) /'             pos.z * (1.0 - pos.x * pos.x));'/
      DATA VS(13) /'  tuv = uv; gl_Position = proj * view *'/
      DATA VS(14) /'    vec4(pos * 0.5 + vec3(dx, 0.0, 0.0), 1.0); }'/
      DATA FS(1) /'#version 330 core'/
      DATA FS(2) /'uniform sampler2D tex;'/
      DATA FS(3) /'in vec2 tuv; in vec3 nrm;'/
      DATA FS(4) /'out vec4 colour;'/
      DATA FS(5) /'void main() {'/
      DATA FS(6) /'  vec3 l = normalize(vec3(0.25, 1.0, 0.5));'/
      DATA FS(7) /'  float d = max(dot(normalize(nrm), l), 0.0);'/
      DATA FS(8) /'  vec3 t = texture(tex, tuv).rgb;'/
      DATA FS(9) /'  colour = vec4(t * (0.25 + 0.75 * d), 1.0);'/
      DATA FS(10) /'}'/

      IVS = SHADER(GL_VERTEX_SHADER, VS, NV)
      IFS = SHADER(GL_FRAGMENT_SHADER, FS, NF)
      IPROG = FGLCREATEPROGRAM()
      CALL FGLATTACHSHADER(IPROG, IVS)
      CALL FGLATTACHSHADER(IPROG, IFS)
      CALL FGLLINKPROGRAM(IPROG)
      CALL FGLGETPROGRAMIV(IPROG, GL_LINK_STATUS, IOK)
      IF (IOK .EQ. 0) THEN
        N = FGLGETPROGRAMINFOLOGC(IPROG, TEXT)
        WRITE (*, '(A)') 'LINK FAILED'
        WRITE (*, '(A)') TEXT(1:MIN(N, LEN(TEXT)))
        CALL FLUSH(6)
        STOP 1
      END IF
      CALL FGLUSEPROGRAM(IPROG)
      IBLOCK = FGLGETUNIFORMBLOCKINDEXC(IPROG, 'Matrices')
      CALL FGLUNIFORMBLOCKBINDING(IPROG, IBLOCK, 0)
      CALL FGLDELETESHADER(IVS)
      CALL FGLDELETESHADER(IFS)
      CALL MESH
      CALL TEXTUR
      CALL TARGET
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

C     The height field: 17x17 vertices (x, y, z, s, t) over
C     [-1,1]x[-1,1], two triangles per cell, in a vertex buffer and an
C     element buffer recorded in the vertex array object; and the
C     uniform buffer of the matrices, bound to block binding 0.
      SUBROUTINE MESH
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl15.inc'
      INCLUDE 'fgl31.inc'
      INTEGER*4 NG
      PARAMETER (NG = 17)
      REAL*4 V(5, NG, NG), X, Z, ZERO(32)
      INTEGER*4 IDX(6, NG - 1, NG - 1), I, J, K
C     f2c checks that every call of an entry in one file passes data of
C     one type; the indices go to OpenGL under the REAL name XIDX.
      REAL*4 XIDX(6, NG - 1, NG - 1)
      EQUIVALENCE (IDX, XIDX)
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      DATA ZERO / 32*0.0 /
      DO 20 J = 1, NG
        DO 10 I = 1, NG
          X = REAL(I - 1) * 0.125 - 1.0
          Z = REAL(J - 1) * 0.125 - 1.0
          V(1, I, J) = X
          V(2, I, J) = (1.0 - X * X) * (1.0 - Z * Z) * 0.5
          V(3, I, J) = Z
          V(4, I, J) = REAL(I - 1) * 0.0625
          V(5, I, J) = REAL(J - 1) * 0.0625
   10   CONTINUE
   20 CONTINUE
      DO 40 J = 1, NG - 1
        DO 30 I = 1, NG - 1
          K = (J - 1) * NG + I - 1
          IDX(1, I, J) = K
          IDX(2, I, J) = K + NG
          IDX(3, I, J) = K + 1
          IDX(4, I, J) = K + 1
          IDX(5, I, J) = K + NG
          IDX(6, I, J) = K + NG + 1
   30   CONTINUE
   40 CONTINUE
      CALL FGLGENVERTEXARRAYS(1, IVAO)
      CALL FGLBINDVERTEXARRAY(IVAO)
      CALL FGLGENBUFFERS(1, IVBO)
      CALL FGLBINDBUFFER(GL_ARRAY_BUFFER, IVBO)
      CALL FGLBUFFERDATAI4(GL_ARRAY_BUFFER, 4 * 5 * NG * NG, V,
     &  GL_STATIC_DRAW)
      CALL FGLGENBUFFERS(1, IEBO)
      CALL FGLBINDBUFFER(GL_ELEMENT_ARRAY_BUFFER, IEBO)
      CALL FGLBUFFERDATAI4(GL_ELEMENT_ARRAY_BUFFER,
     &  4 * 6 * (NG - 1) * (NG - 1), XIDX, GL_STATIC_DRAW)
      CALL FGLVERTEXATTRIBPOINTEROFFSETI4(0, 3, GL_FLOAT, GL_FALSE, 20,
     &  0)
      CALL FGLVERTEXATTRIBPOINTEROFFSETI4(1, 2, GL_FLOAT, GL_FALSE, 20,
     &  12)
      CALL FGLENABLEVERTEXATTRIBARRAY(0)
      CALL FGLENABLEVERTEXATTRIBARRAY(1)
      CALL FGLGENBUFFERS(1, IUBO)
      CALL FGLBINDBUFFER(GL_UNIFORM_BUFFER, IUBO)
      CALL FGLBUFFERDATAI4(GL_UNIFORM_BUFFER, 128, ZERO,
     &  GL_DYNAMIC_DRAW)
      CALL FGLBINDBUFFERBASE(GL_UNIFORM_BUFFER, 0, IUBO)
      END

C     An 8x8 checker of two colours, as REAL*4 RGB, nearest filtering.
      SUBROUTINE TEXTUR
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl11.inc'
      INCLUDE 'fgl12.inc'
      REAL*4 T(3, 8, 8)
      INTEGER*4 I, J
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      DO 20 J = 1, 8
        DO 10 I = 1, 8
          IF (MOD(I + J, 2) .EQ. 0) THEN
            T(1, I, J) = 1.0
            T(2, I, J) = 0.875
            T(3, I, J) = 0.5
          ELSE
            T(1, I, J) = 0.25
            T(2, I, J) = 0.5
            T(3, I, J) = 0.75
          END IF
   10   CONTINUE
   20 CONTINUE
      CALL FGLGENTEXTURES(1, ITEX)
      CALL FGLBINDTEXTURE(GL_TEXTURE_2D, ITEX)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
     &  GL_NEAREST)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
     &  GL_NEAREST)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S,
     &  GL_CLAMP_TO_EDGE)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T,
     &  GL_CLAMP_TO_EDGE)
      CALL FGLTEXIMAGE2D(GL_TEXTURE_2D, 0, GL_RGB8, 8, 8, 0, GL_RGB,
     &  GL_FLOAT, T)
      END

C     The framebuffer object: a colour and a depth renderbuffer of the
C     window's size (RESHAP gives them new storage).
      SUBROUTINE TARGET
      INCLUDE 'fgl30.inc'
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      CALL FGLGENRENDERBUFFERS(1, IRBC)
      CALL FGLGENRENDERBUFFERS(1, IRBD)
      CALL STORE
      CALL FGLGENFRAMEBUFFERS(1, IFBO)
      CALL FGLBINDFRAMEBUFFER(GL_FRAMEBUFFER, IFBO)
      CALL FGLFRAMEBUFFERRENDERBUFFER(GL_FRAMEBUFFER,
     &  GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, IRBC)
      CALL FGLFRAMEBUFFERRENDERBUFFER(GL_FRAMEBUFFER,
     &  GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, IRBD)
      END

      SUBROUTINE STORE
      INCLUDE 'fgl11.inc'
      INCLUDE 'fgl14.inc'
      INCLUDE 'fgl30.inc'
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      CALL FGLBINDRENDERBUFFER(GL_RENDERBUFFER, IRBC)
      CALL FGLRENDERBUFFERSTORAGE(GL_RENDERBUFFER, GL_RGBA8, IW, IH)
      CALL FGLBINDRENDERBUFFER(GL_RENDERBUFFER, IRBD)
      CALL FGLRENDERBUFFERSTORAGE(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24,
     &  IW, IH)
      END

C     A new window size: new renderbuffer storage and a projection of
C     the new shape (the uniform buffer's first matrix; the second
C     tilts the scene towards the viewer and moves it back).
      SUBROUTINE RESHAP(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl31.inc'
      REAL*4 M(4, 4, 2)
      INTEGER*4 I, J
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      IW = W
      IH = H
      CALL STORE
      DO 20 J = 1, 4
        DO 10 I = 1, 4
          M(I, J, 1) = 0.0
          M(I, J, 2) = 0.0
   10   CONTINUE
   20 CONTINUE
C     A frustum from z = -1 to z = -9, 1 wide and high at z = -1 where
C     the window is square; the wider side sees more.
      M(1, 1, 1) = 2.0 * REAL(MIN(W, H)) / REAL(W)
      M(2, 2, 1) = 2.0 * REAL(MIN(W, H)) / REAL(H)
      M(3, 3, 1) = -1.25
      M(4, 3, 1) = -1.0
      M(3, 4, 1) = -2.25
C     A turn about x by the angle whose cosine is 0.8 and sine 0.6, and
C     a move of 3.5 away from the viewer.
      M(1, 1, 2) = 1.0
      M(2, 2, 2) = 0.8
      M(3, 2, 2) = 0.6
      M(2, 3, 2) = -0.6
      M(3, 3, 2) = 0.8
      M(2, 4, 2) = -0.25
      M(3, 4, 2) = -3.5
      M(4, 4, 2) = 1.0
      CALL FGLBINDBUFFER(GL_UNIFORM_BUFFER, IUBO)
      CALL FGLBUFFERSUBDATAI4(GL_UNIFORM_BUFFER, 0, 128, M)
      END

C     One frame: the instances into the framebuffer object, copied to
C     the window.
      SUBROUTINE DISPLY
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl30.inc'
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      CALL FGLBINDFRAMEBUFFER(GL_FRAMEBUFFER, IFBO)
      CALL FGLVIEWPORT(0, 0, IW, IH)
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT)
      CALL FGLENABLE(GL_DEPTH_TEST)
      CALL FGLUSEPROGRAM(IPROG)
      CALL FGLBINDVERTEXARRAY(IVAO)
      CALL FGLBINDTEXTURE(GL_TEXTURE_2D, ITEX)
      CALL FGLDRAWELEMENTSINSTANCEDOFFSETI4(GL_TRIANGLES, 6 * 16 * 16,
     &  GL_UNSIGNED_INT, 0, 3)
      CALL FGLBINDFRAMEBUFFER(GL_DRAW_FRAMEBUFFER, 0)
      CALL FGLBLITFRAMEBUFFER(0, 0, IW, IH, 0, 0, IW, IH,
     &  GL_COLOR_BUFFER_BIT, GL_NEAREST)
      CALL READBK
      END

C     Waits for a fence set after the copy, then reads the middle pixel
C     of the framebuffer object (still bound for reading). A routine of
C     its own: with fgl30.inc beside them, these files would take f2c
C     past its default table of names.
      SUBROUTINE READBK
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl32.inc'
      INTEGER*4 FGLCLIENTWAITSYNCI4, FGLFENCESYNC
      INTEGER*4 ISYNC, ISTAT, I
      REAL*4 P(4)
      INTEGER*4 IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC, IRBD
      INTEGER*4 IW, IH
      COMMON /OBJS/ IPROG, IVAO, IVBO, IEBO, IUBO, ITEX, IFBO, IRBC,
     &  IRBD, IW, IH
      ISYNC = FGLFENCESYNC(GL_SYNC_GPU_COMMANDS_COMPLETE, 0)
C     Wait in steps of 0.1 s (in nanoseconds, an INTEGER*4).
   10 ISTAT = FGLCLIENTWAITSYNCI4(ISYNC, GL_SYNC_FLUSH_COMMANDS_BIT,
     &  100000000)
      IF (ISTAT .EQ. GL_TIMEOUT_EXPIRED) GO TO 10
      CALL FGLDELETESYNC(ISYNC)
      CALL FGLREADPIXELS(IW / 2, IH / 2, 1, 1, GL_RGBA, GL_FLOAT, P)
      WRITE (*, '(A, 4I4)') 'CENTRE', (NINT(255.0 * P(I)), I = 1, 4)
      CALL FLUSH(6)
      CALL FGLFLUSH
      END
