C     probe.f: a consumer of the installed libraries. Opens a window,
C     fills it with red, reads the centre pixel back and ends with
C     status 0 if it is red, 1 otherwise.
      PROGRAM PROBE
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL SHOW
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGBA + GLUT_SINGLE)
      CALL FGLUTINITWINDOWSIZE(40, 40)
      IWIN = FGLUTCREATEWINDOWC('probe')
      CALL FGLUTDISPLAYFUNC(SHOW)
      CALL FGLUTMAINLOOP
      END

      SUBROUTINE SHOW
      INCLUDE 'fgl.inc'
      INTEGER*1 RGBA(4)
      CALL FGLCLEARCOLOR(1.0, 0.0, 0.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLFINISH
      CALL FGLREADPIXELS(20, 20, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, RGBA)
      WRITE (*, 100) IAND(INT(RGBA(1)), 255), IAND(INT(RGBA(2)), 255),
     &               IAND(INT(RGBA(3)), 255)
      IF (RGBA(1) .EQ. -1 .AND. RGBA(2) .EQ. 0 .AND. RGBA(3) .EQ. 0)
     &   CALL EXIT(0)
      CALL EXIT(1)
  100 FORMAT ('PROBE', 3I4)
      END
