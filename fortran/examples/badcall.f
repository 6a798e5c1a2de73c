C     badcall.f: OpenGL names a bad call the moment it is made.
      PROGRAM BADCALL
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INCLUDE 'fglutx.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      INTEGER*8 WORD
      EXTERNAL REPORT
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
C     freeglut makes a debug context only for version 3.0 or later.
      CALL FGLUTINITCONTEXTVERSION(3, 0)
      CALL FGLUTINITCONTEXTFLAGS(GLUT_DEBUG)
      IWIN = FGLUTCREATEWINDOWC('Bad call')
      WORD = 42
      CALL FGLDEBUGMESSAGECALLBACK(REPORT, WORD)
      WRITE (*, '(A)') 'binding a texture'
C     GL_FLOAT is no texture target: OpenGL reports GL_INVALID_ENUM.
      CALL FGLBINDTEXTURE(GL_FLOAT, 1)
      WRITE (*, '(A)') 'done'
      END

C     Called by OpenGL for each message, inside the call that caused it.
      SUBROUTINE REPORT(SOURCE, TYPE, ID, SEVERITY, MESSAGE, WORD)
      INTEGER*4 SOURCE, TYPE, ID, SEVERITY
      CHARACTER*(*) MESSAGE
      INTEGER*8 WORD
      WRITE (*, 10) SOURCE, TYPE, ID, SEVERITY, LEN(MESSAGE), INT(WORD)
   10 FORMAT ('source ', I5, ' type ', I5, ' id ', I5, ' severity ',
     &        I5, ' length ', I4, ' word ', I4)
      WRITE (*, '(3A)') '[', MESSAGE, ']'
      END
