C     ticker.f: an animating program for the signal tests. It opens the
C     file ticks.txt in the current folder, draws a lit sphere and a
C     wire torus turning by a degree a tick, and on every tick appends
C     the line "TICK n END" to the file and to standard output and shows
C     n as the window's icon title, so that a test knows how many lines
C     each holds at least.
C     The first argument picks the tick: TIMER (a timer every 5 ms, the
C     default), IDLE (the idle routine, as fast as frames are drawn) or
C     BUSY (one timer tick, which then computes for a minute without
C     returning to GLUT).
      PROGRAM TICKER
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DRAW, IDLE, BUSY
      CHARACTER*8 MODE
      INTEGER*4 NTICK
      COMMON /TICKS/ NTICK
      NTICK = 0
      CALL FGLUTINIT
      OPEN(10, FILE='ticks.txt', STATUS='UNKNOWN')
      CALL GETARG(1, MODE)
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_DOUBLE + GLUT_DEPTH)
      CALL FGLUTINITWINDOWSIZE(200, 200)
      IWIN = FGLUTCREATEWINDOWC('Fortran ticker')
      CALL FGLUTDISPLAYFUNC(DRAW)
      IF (MODE .EQ. 'IDLE') THEN
        CALL FGLUTIDLEFUNC(IDLE)
      ELSE IF (MODE .EQ. 'BUSY') THEN
        CALL FGLUTTIMERFUNC(5, BUSY, 0)
      ELSE
        CALL ARM
      END IF
      CALL FGLUTMAINLOOP
      END

C     One tick: a line in the file, the count in the icon title, and a
C     new frame asked for.
      SUBROUTINE TICK
      INTEGER*4 NTICK, WORDS(12), I
      COMMON /TICKS/ NTICK
      CHARACTER*12 TEXT
      NTICK = NTICK + 1
      WRITE(10, '(A, I8, A)') 'TICK ', NTICK, ' END'
      WRITE(6, '(A, I8, A)') 'TICK ', NTICK, ' END'
      WRITE(TEXT, '(I12)') NTICK
      DO 10 I = 1, 12
        WORDS(I) = ICHAR(TEXT(I:I))
   10 CONTINUE
      CALL FGLUTSETICONTITLE(WORDS, 12)
      CALL FGLUTPOSTREDISPLAY
      END

      SUBROUTINE TIMER(V)
      INTEGER*4 V
      CALL TICK
      CALL ARM
      END

C     Registers the next tick (a routine cannot name itself in F77).
      SUBROUTINE ARM
      EXTERNAL TIMER
      CALL FGLUTTIMERFUNC(5, TIMER, 0)
      END

      SUBROUTINE IDLE
      CALL TICK
      END

C     Times itself by GLUT's clock: Flang's runtime has no ETIME, f2c's
C     no SYSTEM_CLOCK.
      SUBROUTINE BUSY(V)
      INCLUDE 'fglut.inc'
      INTEGER*4 V, I, FGLUTGET, START
      DOUBLE PRECISION X
      CALL TICK
      START = FGLUTGET(GLUT_ELAPSED_TIME)
      X = 0.0D0
   20 DO 30 I = 1, 100000
        X = X + SIN(X) + 1.0D-9
   30 CONTINUE
      IF (FGLUTGET(GLUT_ELAPSED_TIME) - START .LT. 60000) GO TO 20
      WRITE(10, *) X
      END

      SUBROUTINE DRAW
      INCLUDE 'fgl.inc'
      INTEGER*4 NTICK
      COMMON /TICKS/ NTICK
      REAL ANGLE
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT)
      CALL FGLENABLE(GL_DEPTH_TEST)
      CALL FGLENABLE(GL_LIGHTING)
      CALL FGLENABLE(GL_LIGHT0)
      CALL FGLPUSHMATRIX
      ANGLE = MOD(NTICK, 360)
      CALL FGLROTATEF(ANGLE, 0.3, 1.0, 0.0)
      CALL FGLUTSOLIDSPHERE(0.6D0, 24, 16)
      CALL FGLUTWIRETORUS(0.1D0, 0.8D0, 12, 24)
      CALL FGLPOPMATRIX
      CALL FGLUTSWAPBUFFERS
      END
