C     hello.f: a window with a triangle; Q or Escape ends the program.
      PROGRAM HELLO
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DRAW, KEY
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
      IWIN = FGLUTCREATEWINDOWC('Hello from Fortran')
      CALL FGLUTDISPLAYFUNC(DRAW)
      CALL FGLUTKEYBOARDFUNC(KEY)
      CALL FGLUTMAINLOOP
      END

C     Called by GLUT whenever the window needs painting.
      SUBROUTINE DRAW
      INCLUDE 'fgl.inc'
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLBEGIN(GL_TRIANGLES)
      CALL FGLCOLOR3F(1.0, 0.0, 0.0)
      CALL FGLVERTEX2F(-0.8, -0.8)
      CALL FGLCOLOR3F(0.0, 1.0, 0.0)
      CALL FGLVERTEX2F(0.8, -0.8)
      CALL FGLCOLOR3F(0.0, 0.0, 1.0)
      CALL FGLVERTEX2F(0.0, 0.8)
      CALL FGLEND
      CALL FGLFLUSH
      END

C     Called by GLUT for each key: its code (0 to 255) and the pointer
C     position, each an INTEGER*4.
      SUBROUTINE KEY(K, X, Y)
      INTEGER*4 K, X, Y
      IF (K .EQ. ICHAR('q') .OR. K .EQ. 27) CALL EXIT(0)
      END
