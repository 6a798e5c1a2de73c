C     simulate.f: a computation that owns its loop. A damped wave runs
C     on a 32 x 32 grid with fixed edges; the program steps it in its
C     own loop and lets GLUT draw and answer events every NDRAW steps
C     (fglutMainLoopEvent). The mouse wheel zooms; a label written with
C     fglutBitmapString shows the step. When the window is closed the
C     program leaves its loop, writes the final state to the file
C     simulate.dat with ordinary Fortran I/O and ends with status 0.
C
C     The window "Fortran simulation" shows the grid, red where the
C     wave is up and blue where it is down, black at rest, on grey;
C     the label is white. Lines printed:
C        START              once the first picture is drawn
C        ZOOM d z           for each wheel click: direction +1 (in)
C                           or -1 (out), and the new zoom factor
C        WROTE n            the final state after n steps is written
C     simulate.dat holds the line "STEPS n", the line "ZOOM z", then
C     the grid by columns, four values per line.
C
C     Build:  gfortran -std=legacy simulate.f -lfglut -lfgl
C        or:  flang-new-16 simulate.f -lfglut -lfgl
C             -L/usr/lib/llvm-16/lib   (Flang's own runtime)
C        or:  f2c simulate.f && cc simulate.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM SIMUL
      INCLUDE 'fglut.inc'
      INCLUDE 'fglutx.inc'
      INTEGER*4 NX, NDRAW
      PARAMETER (NX = 32, NDRAW = 10)
      DOUBLE PRECISION U(NX, NX), UOLD(NX, NX), UNEW(NX, NX)
      REAL*4 ZOOM
      INTEGER*4 NSTEP
      LOGICAL CLOSED
      COMMON /GRID/ U, UOLD, UNEW
      COMMON /RUN/ ZOOM, NSTEP, CLOSED
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN, I, J
      EXTERNAL DRAW, WHEEL, ONCLOS
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_DOUBLE)
      CALL FGLUTINITWINDOWSIZE(320, 320)
      IWIN = FGLUTCREATEWINDOWC('Fortran simulation')
C     Closing the window must not end the program: it has results to
C     write. The close routine tells the loop below.
      CALL FGLUTSETOPTION(GLUT_ACTION_ON_WINDOW_CLOSE,
     &                    GLUT_ACTION_CONTINUE_EXECUTION)
      CALL FGLUTDISPLAYFUNC(DRAW)
      CALL FGLUTMOUSEWHEELFUNC(WHEEL)
      CALL FGLUTCLOSEFUNC(ONCLOS)
C     At rest, with a bump off the centre.
      DO 20 J = 1, NX
         DO 10 I = 1, NX
            U(I, J) = EXP(-((I - 12)**2 + (J - 14)**2) / 8.0D0)
            IF (I .EQ. 1 .OR. I .EQ. NX .OR. J .EQ. 1 .OR. J .EQ. NX)
     &         U(I, J) = 0.0D0
            UOLD(I, J) = U(I, J)
            UNEW(I, J) = U(I, J)
   10    CONTINUE
   20 CONTINUE
C     The program's own loop: compute, and every NDRAW steps let GLUT
C     draw and deliver the events that came in.
   30 CONTINUE
      CALL STEP
      NSTEP = NSTEP + 1
      IF (MOD(NSTEP, NDRAW) .EQ. 0) THEN
         CALL FGLUTPOSTREDISPLAY
         CALL FGLUTMAINLOOPEVENT
      END IF
      IF (.NOT. CLOSED) GOTO 30
C     The window is gone; the results are not.
      OPEN (UNIT = 10, FILE = 'simulate.dat', STATUS = 'UNKNOWN')
      WRITE (10, 100) 'STEPS', NSTEP
      WRITE (10, 110) 'ZOOM', ZOOM
      WRITE (10, 120) ((U(I, J), I = 1, NX), J = 1, NX)
      CLOSE (10)
      WRITE (*, 100) 'WROTE', NSTEP
  100 FORMAT (A, I10)
  110 FORMAT (A, F10.4)
  120 FORMAT (4E24.16)
      END

      BLOCK DATA RUND
      REAL*4 ZOOM
      INTEGER*4 NSTEP
      LOGICAL CLOSED
      COMMON /RUN/ ZOOM, NSTEP, CLOSED
      DATA ZOOM, NSTEP, CLOSED / 1.0, 0, .FALSE. /
      END

C     One step of the damped wave equation, u_tt + g u_t = c^2 lap u,
C     with c dt / h = 0.5 and g dt / 2 = 0.0001; the edges stay 0.
      SUBROUTINE STEP
      INTEGER*4 NX
      PARAMETER (NX = 32)
      DOUBLE PRECISION U(NX, NX), UOLD(NX, NX), UNEW(NX, NX)
      COMMON /GRID/ U, UOLD, UNEW
      DOUBLE PRECISION C2, GD, LAP
      PARAMETER (C2 = 0.25D0, GD = 0.0001D0)
      INTEGER*4 I, J
      DO 20 J = 2, NX - 1
         DO 10 I = 2, NX - 1
            LAP = U(I + 1, J) + U(I - 1, J) + U(I, J + 1) + U(I, J - 1)
     &            - 4.0D0 * U(I, J)
            UNEW(I, J) = (2.0D0 * U(I, J) - (1.0D0 - GD) * UOLD(I, J)
     &                    + C2 * LAP) / (1.0D0 + GD)
   10    CONTINUE
   20 CONTINUE
      DO 40 J = 2, NX - 1
         DO 30 I = 2, NX - 1
            UOLD(I, J) = U(I, J)
            U(I, J) = UNEW(I, J)
   30    CONTINUE
   40 CONTINUE
      END

C     Draws the grid, zoomed about its centre, and the label.
      SUBROUTINE DRAW
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INTEGER*4 NX
      PARAMETER (NX = 32)
      DOUBLE PRECISION U(NX, NX), UOLD(NX, NX), UNEW(NX, NX)
      REAL*4 ZOOM
      INTEGER*4 NSTEP
      LOGICAL CLOSED
      COMMON /GRID/ U, UOLD, UNEW
      COMMON /RUN/ ZOOM, NSTEP, CLOSED
      DOUBLE PRECISION EXTENT
      REAL*4 X0, X1, Y0, Y1
      CHARACTER*20 LABEL
      INTEGER*4 I, J, NDRAWN
      SAVE NDRAWN
      DATA NDRAWN / 0 /
      CALL FGLCLEARCOLOR(0.2, 0.2, 0.2, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      EXTENT = 1.0D0 / ZOOM
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(-EXTENT, EXTENT, -EXTENT, EXTENT, -1.0D0, 1.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
C     Cell (I, J) covers [-1, 1] x [-1, 1] split into NX x NX squares.
      CALL FGLBEGIN(GL_QUADS)
      DO 20 J = 1, NX
         DO 10 I = 1, NX
            CALL COLOUR(U(I, J))
            X0 = -1.0 + 2.0 * (I - 1) / NX
            X1 = -1.0 + 2.0 * I / NX
            Y0 = -1.0 + 2.0 * (J - 1) / NX
            Y1 = -1.0 + 2.0 * J / NX
            CALL FGLVERTEX2F(X0, Y0)
            CALL FGLVERTEX2F(X1, Y0)
            CALL FGLVERTEX2F(X1, Y1)
            CALL FGLVERTEX2F(X0, Y1)
   10    CONTINUE
   20 CONTINUE
      CALL FGLEND
C     The label, in window pixels from the lower left corner.
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(0.0D0, 320.0D0, 0.0D0, 320.0D0, -1.0D0, 1.0D0)
      CALL FGLCOLOR3F(1.0, 1.0, 1.0)
      CALL FGLRASTERPOS2I(8, 300)
      WRITE (LABEL, 100) 'STEP', NSTEP
      CALL FGLUTBITMAPSTRINGC(GLUT_BITMAP_9_BY_15, LABEL)
      CALL FGLUTSWAPBUFFERS
      NDRAWN = NDRAWN + 1
      IF (NDRAWN .EQ. 1) THEN
         WRITE (*, '(A)') 'START'
         CALL FLUSH(6)
      END IF
  100 FORMAT (A, I10)
      END

C     Red for a crest, blue for a trough, black at rest.
      SUBROUTINE COLOUR(H)
      DOUBLE PRECISION H
      REAL*4 R, B
      R = REAL(MIN(1.0D0, MAX(0.0D0, H)))
      B = REAL(MIN(1.0D0, MAX(0.0D0, -H)))
      CALL FGLCOLOR3F(R, 0.0, B)
      END

C     Each wheel click zooms in (+1) or out (-1) by a quarter.
      SUBROUTINE WHEEL(W, DIR, X, Y)
      INTEGER*4 W, DIR, X, Y
      REAL*4 ZOOM
      INTEGER*4 NSTEP
      LOGICAL CLOSED
      COMMON /RUN/ ZOOM, NSTEP, CLOSED
      IF (DIR .GT. 0) THEN
         ZOOM = ZOOM * 1.25
      ELSE
         ZOOM = ZOOM / 1.25
      END IF
      WRITE (*, 100) 'ZOOM', DIR, ZOOM
      CALL FLUSH(6)
  100 FORMAT (A, I3, F10.4)
      END

C     Called while GLUT destroys the window.
      SUBROUTINE ONCLOS
      REAL*4 ZOOM
      INTEGER*4 NSTEP
      LOGICAL CLOSED
      COMMON /RUN/ ZOOM, NSTEP, CLOSED
      CLOSED = .TRUE.
      END

