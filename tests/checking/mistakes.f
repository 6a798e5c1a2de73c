C     mistakes.f: makes the one common mistake whose number it reads from
C     standard input, each as plainly as a user would, in a window of its
C     own; the checking build must name the entry and the argument.
      PROGRAM MISTKS
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INCLUDE 'fglu.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, FGLUNEWQUADRIC, FGLUTBITMAPLENGTH
      INTEGER*4 IWIN, ICASE, Q, I, N, PIX(16), WORDS(2)
      INTEGER*4 FGLFENCESYNC, ISYNC
      CHARACTER*8 ANAME
      INTEGER*4 IX, IY, IZ, IW
      REAL ANGLE
      INTEGER*4 IPAD
      INTEGER*2 B2(2), GUARD(4)
      COMMON /INTS/ IX, IY, IZ, IW
      COMMON /SHORTS/ B2, GUARD
      COMMON /REALS/ ANGLE, IPAD
      EXTERNAL DRAW
      DATA PIX /16*0/
      IX = 1
      IY = 2
      IZ = 3
      IW = 4
      ANGLE = 30.0
      IPAD = 0
      READ (*, *) ICASE
      CALL FGLUTINIT
      IF (ICASE .EQ. 10) THEN
C        A routine registered before any window exists.
         CALL FGLUTDISPLAYFUNC(DRAW)
      END IF
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
      IWIN = FGLUTCREATEWINDOWC('mistakes')
      IF (ICASE .EQ. 0) THEN
C        No mistake: images without data (a count of 0), one of them for
C        the proxy target (32868, GL_PROXY_TEXTURE_2D).
         CALL FGLTEXIMAGE2DI4(32868, 0, GL_RGBA, 2048, 2048, 0, GL_RGBA,
     &                        GL_UNSIGNED_BYTE, PIX, 0)
         CALL FGLTEXIMAGE2DI4(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0,
     &                        GL_RGBA, GL_UNSIGNED_BYTE, PIX, 0)
      ELSE IF (ICASE .EQ. 1) THEN
C        INTEGER constants for REAL arguments, five times.
         DO 10 I = 1, 5
            CALL FGLCLEARCOLOR(1, 0, 0, 1)
   10    CONTINUE
      ELSE IF (ICASE .EQ. 2) THEN
C        A REAL variable for a DOUBLE PRECISION argument.
         CALL FGLROTATED(ANGLE, 0.0D0, 0.0D0, 1.0D0)
      ELSE IF (ICASE .EQ. 3) THEN
C        INTEGER variables for DOUBLE PRECISION arguments.
         CALL FGLTRANSLATED(IX, IY, IZ)
      ELSE IF (ICASE .EQ. 4) THEN
C        A 4 x 4 RGB image needs 48 items, not 16.
         CALL FGLDRAWPIXELSI4(4, 4, GL_RGB, GL_UNSIGNED_BYTE, PIX, 16)
      ELSE IF (ICASE .EQ. 5) THEN
C        An enumerant OpenGL rejects.
         CALL FGLENABLE(12345)
      ELSE IF (ICASE .EQ. 6) THEN
C        A font code out of range.
         CALL FGLUTBITMAPCHARACTER(12, ICHAR('A'))
      ELSE IF (ICASE .EQ. 7) THEN
C        A deleted GLU handle.
         Q = FGLUNEWQUADRIC()
         CALL FGLUDELETEQUADRIC(Q)
         CALL FGLUSPHERE(Q, 1.0D0, 8, 8)
      ELSE IF (ICASE .EQ. 8) THEN
C        A GLU error with no error routine.
         Q = FGLUNEWQUADRIC()
         CALL FGLUQUADRICDRAWSTYLE(Q, 12345)
      ELSE IF (ICASE .EQ. 9) THEN
C        Four characters in one word instead of one per word.
         WORDS(1) = 1684234849
         WORDS(2) = 0
         N = FGLUTBITMAPLENGTH(GLUT_BITMAP_9_BY_15, WORDS, 2)
      ELSE IF (ICASE .EQ. 11) THEN
C        A window number that does not exist.
         CALL FGLUTSETWINDOW(IWIN + 7)
      ELSE IF (ICASE .EQ. 12) THEN
C        A call OpenGL refuses between FGLBEGIN and FGLEND.
         CALL FGLBEGIN(GL_POINTS)
         CALL FGLENABLE(GL_LIGHTING)
         CALL FGLEND
      ELSE IF (ICASE .EQ. 13) THEN
C        A negative count.
         CALL FGLDRAWPIXELSI4(1, 1, GL_RED, GL_UNSIGNED_BYTE, PIX, -1)
      ELSE IF (ICASE .EQ. 14) THEN
C        REAL constants for DOUBLE PRECISION arguments.
         CALL FGLORTHO(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0)
      ELSE IF (ICASE .EQ. 16) THEN
C        One RGB pixel of shorts needs 3 INTEGER*2 items, not 2.
         CALL FGLREADPIXELSI2(0, 0, 1, 1, GL_RGB, GL_UNSIGNED_SHORT, B2,
     &                        2)
      ELSE IF (ICASE .EQ. 17) THEN
C        INTEGER constants for the REAL arguments of a vertex attribute.
         CALL FGLVERTEXATTRIB2F(0, 1, 2)
      ELSE IF (ICASE .EQ. 18) THEN
C        A negative size of buffer data (34962, GL_ARRAY_BUFFER; 35044,
C        GL_STATIC_DRAW).
         CALL FGLBUFFERDATAI4(34962, -4, PIX, 35044)
      ELSE IF (ICASE .EQ. 19) THEN
C        A sync object deleted twice (37143,
C        GL_SYNC_GPU_COMMANDS_COMPLETE).
         ISYNC = FGLFENCESYNC(37143, 0)
         CALL FGLDELETESYNC(ISYNC)
         CALL FGLDELETESYNC(ISYNC)
      ELSE IF (ICASE .EQ. 20) THEN
C        A substring whose end lies before its start: f2c passes its
C        length, J - I + 1, as it is; gfortran passes 0.
         ANAME = 'position'
         I = 5
         N = 2
         CALL FGLBINDATTRIBLOCATIONC(1, 0, ANAME(I:N))
      ELSE IF (ICASE .EQ. 15) THEN
C        A REAL variable for a DOUBLE PRECISION argument of GLU.
         CALL FGLUPERSPECTIVE(ANGLE, 1.0D0, 1.0D0, 100.0D0)
      END IF
      CALL FGLFINISH
      CALL EXIT(0)
      END

      SUBROUTINE DRAW
      END
