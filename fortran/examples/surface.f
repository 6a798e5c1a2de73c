C     surface.f: a height field drawn from vertex arrays.
C
C     Opens a 400x400 window titled "Fortran surface" showing the
C     surface z = 0.3 sin(4x) cos(4y) over -1 <= x, y <= 1, sampled on
C     a 256 x 256 grid, lit by light 0 and covered with a checkered
C     texture. Vertices, normals and texture coordinates are arrays
C     handed to OpenGL by FGLVERTEXPOINTER, FGLNORMALPOINTER and
C     FGLTEXCOORDPOINTER; the surface is 255 triangle strips, each one
C     drawn by FGLDRAWELEMENTS from a column of an INTEGER*4 index
C     array. The texture is a texture object (FGLGENTEXTURES,
C     FGLBINDTEXTURE) whose image comes from INTEGER*4 data
C     (FGLTEXIMAGE2DI4).
C
C     OpenGL reads the arrays given to a ...POINTER entry only when it
C     draws, so they must stay where they are: here they are in COMMON
C     (SAVEd variables or variables of the main program would do too).
C
C     Keys: the left and right arrows turn the surface about its
C     vertical axis, the up and down arrows tilt it, by 5 degrees
C     each; F draws 20 frames and prints the frame rate as
C        FPS rate (20 frames in t ms)
C     Q or Escape ends the program.
C
C     Arithmetic: the grid is computed in double precision and stored
C     as REAL, so that gfortran and f2c build the same arrays.
C
C     Build:  gfortran -std=legacy surface.f -lfglut -lfgl
C        or:  f2c surface.f && cc surface.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM SURFAC
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl11.inc'
      INCLUDE 'fglut.inc'
      INTEGER*4 N
      PARAMETER (N = 256)
      REAL*4 VERT(3, N*N), NORM(3, N*N), TEXC(2, N*N)
      INTEGER*4 INDX(2*N, N-1), ITEX
      COMMON /SURF/ VERT, NORM, TEXC, INDX, ITEX
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DISPLAY, RESHAPE, KEY, SPECKY
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_DOUBLE + GLUT_DEPTH)
      CALL FGLUTINITWINDOWSIZE(400, 400)
      IWIN = FGLUTCREATEWINDOWC('Fortran surface')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTRESHAPEFUNC(RESHAPE)
      CALL FGLUTKEYBOARDFUNC(KEY)
      CALL FGLUTSPECIALFUNC(SPECKY)
      CALL GRID
      CALL TEXTUR
      CALL FGLENABLE(GL_DEPTH_TEST)
      CALL FGLENABLE(GL_LIGHTING)
      CALL FGLENABLE(GL_LIGHT0)
      CALL FGLENABLE(GL_TEXTURE_2D)
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
C     The arrays OpenGL draws from; their addresses are taken now and
C     read at every FGLDRAWELEMENTS.
      CALL FGLENABLECLIENTSTATE(GL_VERTEX_ARRAY)
      CALL FGLENABLECLIENTSTATE(GL_NORMAL_ARRAY)
      CALL FGLENABLECLIENTSTATE(GL_TEXTURE_COORD_ARRAY)
      CALL FGLVERTEXPOINTER(3, GL_FLOAT, 0, VERT)
      CALL FGLNORMALPOINTER(GL_FLOAT, 0, NORM)
      CALL FGLTEXCOORDPOINTER(2, GL_FLOAT, 0, TEXC)
      CALL FGLUTMAINLOOP
      END

C     The view: SPIN about the vertical axis, TILT about the
C     horizontal one, in degrees.
      BLOCK DATA VIEWD
      REAL*4 SPIN, TILT
      COMMON /VIEW/ SPIN, TILT
      DATA SPIN, TILT / 30.0, -55.0 /
      END

C     The grid: N x N vertices, vertex (I, J) at column I + N*(J-1);
C     its position, unit normal and texture coordinates; INDX(:, J)
C     the strip between grid rows J and J+1, alternating between the
C     two rows (OpenGL counts vertices from 0). ITEX is the texture.
      SUBROUTINE GRID
      INTEGER*4 N
      PARAMETER (N = 256)
      REAL*4 VERT(3, N*N), NORM(3, N*N), TEXC(2, N*N)
      INTEGER*4 INDX(2*N, N-1), ITEX
      COMMON /SURF/ VERT, NORM, TEXC, INDX, ITEX
      INTEGER*4 I, J, K
      DOUBLE PRECISION X, Y, DX, DY, D
      DO 20 J = 1, N
         Y = -1.0D0 + 2.0D0 * DBLE(J - 1) / DBLE(N - 1)
         DO 10 I = 1, N
            X = -1.0D0 + 2.0D0 * DBLE(I - 1) / DBLE(N - 1)
            K = I + N * (J - 1)
            VERT(1, K) = REAL(X)
            VERT(2, K) = REAL(Y)
            VERT(3, K) = REAL(0.3D0 * SIN(4.0D0 * X) * COS(4.0D0 * Y))
C           The slopes of z along x and y give the normal.
            DX = 1.2D0 * COS(4.0D0 * X) * COS(4.0D0 * Y)
            DY = -1.2D0 * SIN(4.0D0 * X) * SIN(4.0D0 * Y)
            D = SQRT(DX * DX + DY * DY + 1.0D0)
            NORM(1, K) = REAL(-DX / D)
            NORM(2, K) = REAL(-DY / D)
            NORM(3, K) = REAL(1.0D0 / D)
            TEXC(1, K) = REAL(2.0D0 * DBLE(I - 1) / DBLE(N - 1))
            TEXC(2, K) = REAL(2.0D0 * DBLE(J - 1) / DBLE(N - 1))
   10    CONTINUE
   20 CONTINUE
      DO 40 J = 1, N - 1
         DO 30 I = 1, N
            INDX(2 * I - 1, J) = (I - 1) + N * J
            INDX(2 * I, J) = (I - 1) + N * (J - 1)
   30    CONTINUE
   40 CONTINUE
      END

C     A 64 x 64 texture of 8 x 8 squares, cream and rust, made as
C     INTEGER*4 red, green and blue values and bound to a new texture
C     object.
      SUBROUTINE TEXTUR
      INCLUDE 'fgl.inc'
      INTEGER*4 N
      PARAMETER (N = 256)
      REAL*4 VERT(3, N*N), NORM(3, N*N), TEXC(2, N*N)
      INTEGER*4 INDX(2*N, N-1), ITEX
      COMMON /SURF/ VERT, NORM, TEXC, INDX, ITEX
      INTEGER*4 TEXEL(3, 64, 64), I, J
      DO 20 J = 1, 64
         DO 10 I = 1, 64
            IF (MOD((I - 1) / 8 + (J - 1) / 8, 2) .EQ. 0) THEN
               TEXEL(1, I, J) = 255
               TEXEL(2, I, J) = 240
               TEXEL(3, I, J) = 200
            ELSE
               TEXEL(1, I, J) = 200
               TEXEL(2, I, J) = 90
               TEXEL(3, I, J) = 40
            END IF
   10    CONTINUE
   20 CONTINUE
      CALL FGLGENTEXTURES(1, ITEX)
      CALL FGLBINDTEXTURE(GL_TEXTURE_2D, ITEX)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
     &                      GL_NEAREST)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
     &                      GL_NEAREST)
      CALL FGLPIXELSTOREI(GL_UNPACK_ALIGNMENT, 1)
      CALL FGLTEXIMAGE2DI4(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB,
     &                     GL_UNSIGNED_BYTE, TEXEL, 3 * 64 * 64)
      END

C     Window size W by H: the shorter side spans -1.25 to 1.25.
      SUBROUTINE RESHAPE(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl.inc'
      DOUBLE PRECISION A
      IF (W .LE. 0 .OR. H .LE. 0) RETURN
      CALL FGLVIEWPORT(0, 0, W, H)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      IF (H .GT. W) THEN
         A = 1.25D0 * DBLE(H) / DBLE(W)
         CALL FGLORTHO(-1.25D0, 1.25D0, -A, A, -3.0D0, 3.0D0)
      ELSE
         A = 1.25D0 * DBLE(W) / DBLE(H)
         CALL FGLORTHO(-A, A, -1.25D0, 1.25D0, -3.0D0, 3.0D0)
      END IF
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      END

      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      INTEGER*4 N
      PARAMETER (N = 256)
      REAL*4 VERT(3, N*N), NORM(3, N*N), TEXC(2, N*N), SPIN, TILT
      INTEGER*4 INDX(2*N, N-1), ITEX
      COMMON /SURF/ VERT, NORM, TEXC, INDX, ITEX
      COMMON /VIEW/ SPIN, TILT
      INTEGER*4 J
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT)
      CALL FGLLOADIDENTITY
      CALL FGLROTATEF(TILT, 1.0, 0.0, 0.0)
      CALL FGLROTATEF(SPIN, 0.0, 0.0, 1.0)
      DO 10 J = 1, N - 1
         CALL FGLDRAWELEMENTS(GL_TRIANGLE_STRIP, 2 * N,
     &                        GL_UNSIGNED_INT, INDX(1, J))
   10 CONTINUE
      CALL FGLUTSWAPBUFFERS
      END

C     Draws 20 frames, waits until OpenGL has finished them and prints
C     the rate from GLUT's clock (milliseconds).
      SUBROUTINE RATE
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTGET, NFRAME, T0, T, I
      PARAMETER (NFRAME = 20)
      T0 = FGLUTGET(GLUT_ELAPSED_TIME)
      DO 10 I = 1, NFRAME
         CALL DISPLAY
   10 CONTINUE
      CALL FGLFINISH
      T = FGLUTGET(GLUT_ELAPSED_TIME) - T0
      WRITE (*, 100) 1000.0D0 * DBLE(NFRAME) / DBLE(MAX(T, 1)),
     &               NFRAME, T
      CALL FLUSH(6)
  100 FORMAT ('FPS', F10.1, ' (', I3, ' frames in', I7, ' ms)')
      END

      SUBROUTINE KEY(K, X, Y)
      INTEGER*4 K, X, Y
      IF (K .EQ. ICHAR('f') .OR. K .EQ. ICHAR('F')) CALL RATE
      IF (K .EQ. ICHAR('q') .OR. K .EQ. ICHAR('Q') .OR. K .EQ. 27)
     &   CALL EXIT(0)
      END

      SUBROUTINE SPECKY(K, X, Y)
      INTEGER*4 K, X, Y
      INCLUDE 'fglut.inc'
      REAL*4 SPIN, TILT
      COMMON /VIEW/ SPIN, TILT
      IF (K .EQ. GLUT_KEY_LEFT) SPIN = SPIN - 5.0
      IF (K .EQ. GLUT_KEY_RIGHT) SPIN = SPIN + 5.0
      IF (K .EQ. GLUT_KEY_UP) TILT = TILT - 5.0
      IF (K .EQ. GLUT_KEY_DOWN) TILT = TILT + 5.0
      CALL FGLUTPOSTREDISPLAY
      END
