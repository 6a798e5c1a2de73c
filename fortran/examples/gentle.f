C     gentle.f: GLSL 1.20 shaders on top of a fixed-function program,
C     the gentle way for an old program into programmable OpenGL.
C
C     The window "Fortran gentle" (240x180, the default compatibility
C     context) shows two squares drawn by fglBegin/fglColor/fglVertex
C     under fglOrtho, as any OpenGL 1.0 program draws them: the left one
C     by the fixed pipeline, the right one through a shader program
C     that keeps the fixed-function inputs (gl_Color, ftransform) and
C     mixes each colour with its complement by the uniform MIXING, set
C     by name through fglGetUniformLocationC. After each frame the
C     middle pixel is read back from the back buffer and printed
C     ("CENTRE r g b a") before the buffers are swapped.
C
C     gentle_direct.c beside this file draws the same in C.
C
C     Build:  gfortran -std=legacy gentle.f -lfglut -lfgl
C        or:  f2c gentle.f && cc gentle.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM GENTLE
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC
      INTEGER*4 IWIN
      EXTERNAL DISPLY, RESHAP
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_DOUBLE)
      CALL FGLUTINITWINDOWSIZE(240, 180)
      IWIN = FGLUTCREATEWINDOWC('Fortran gentle')
      CALL FGLUTDISPLAYFUNC(DISPLY)
      CALL FGLUTRESHAPEFUNC(RESHAP)
      CALL SETUP
      CALL FGLUTMAINLOOP
      END

C     The shader program: one CHARACTER element per shader, its lines
C     ended by CHAR(10), as fglShaderSourceC also takes them.
      SUBROUTINE SETUP
      INCLUDE 'fgl20.inc'
      INTEGER*4 FGLCREATEPROGRAM, FGLCREATESHADER, FGLGETPROGRAMINFOLOGC
      INTEGER*4 FGLGETUNIFORMLOCATIONC
      CHARACTER*200 VS, FS
      CHARACTER*1 NL
      INTEGER*4 IVS, IFS, IOK, N
      CHARACTER*1000 TEXT
      INTEGER*4 IPROG, IMIX
      COMMON /GENTLC/ IPROG, IMIX
      NL = CHAR(10)
      VS = '#version 120' // NL // 'void main() {' // NL //
     &  '  gl_FrontColor = gl_Color;' // NL //
     &  '  gl_Position = ftransform();' // NL // '}'
      FS = '#version 120' // NL // 'uniform float mixing;' // NL //
     &  'void main() {' // NL //
     &  '  gl_FragColor = vec4(mix(gl_Color.rgb,' // NL //
     &  '    vec3(1.0) - gl_Color.rgb, mixing), 1.0);' // NL // '}'
      IVS = FGLCREATESHADER(GL_VERTEX_SHADER)
      CALL FGLSHADERSOURCEC(IVS, 1, VS)
      CALL FGLCOMPILESHADER(IVS)
      IFS = FGLCREATESHADER(GL_FRAGMENT_SHADER)
      CALL FGLSHADERSOURCEC(IFS, 1, FS)
      CALL FGLCOMPILESHADER(IFS)
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
      IMIX = FGLGETUNIFORMLOCATIONC(IPROG, 'mixing   ')
      END

      SUBROUTINE RESHAP(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl.inc'
      CALL FGLVIEWPORT(0, 0, W, H)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(-1.0D0, 1.0D0, -1.0D0, 1.0D0, -1.0D0, 1.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      END

C     One square of four colours, its lower left corner at (X, -0.75).
      SUBROUTINE SQUARE(X)
      REAL*4 X
      INCLUDE 'fgl.inc'
      CALL FGLBEGIN(GL_QUADS)
      CALL FGLCOLOR3F(1.0, 0.0, 0.0)
      CALL FGLVERTEX2F(X, -0.75)
      CALL FGLCOLOR3F(1.0, 1.0, 0.0)
      CALL FGLVERTEX2F(X + 0.875, -0.75)
      CALL FGLCOLOR3F(0.0, 0.5, 1.0)
      CALL FGLVERTEX2F(X + 0.875, 0.75)
      CALL FGLCOLOR3F(0.25, 0.0, 0.75)
      CALL FGLVERTEX2F(X, 0.75)
      CALL FGLEND
      END

      SUBROUTINE DISPLY
      INCLUDE 'fgl.inc'
      INTEGER*4 IPROG, IMIX, I
      COMMON /GENTLC/ IPROG, IMIX
      REAL*4 P(4)
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLUSEPROGRAM(0)
      CALL SQUARE(-0.9375)
      CALL FGLUSEPROGRAM(IPROG)
      CALL FGLUNIFORM1F(IMIX, 0.75)
      CALL SQUARE(-0.0625)
      CALL FGLUSEPROGRAM(0)
      CALL FGLFINISH
      CALL FGLREADPIXELS(120, 90, 1, 1, GL_RGBA, GL_FLOAT, P)
      WRITE (*, '(A, 4I4)') 'CENTRE', (NINT(255.0 * P(I)), I = 1, 4)
      CALL FLUSH(6)
      CALL FGLUTSWAPBUFFERS
      END
