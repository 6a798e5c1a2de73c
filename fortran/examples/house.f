C     house.f: the house viewer as a Fortran 77 program.
C
C     Opens one window titled "Fortran GLUT program" on a white
C     background and draws a house: a blue box, a black door and black
C     windows on the two walls that face the viewer, and a red
C     half-hipped roof with a 30-degree pitch. It makes the same calls
C     of the fgl and fglut entries, in the same order and with the same
C     values, as the viewer "house" that comes with the libraries.
C
C     Arithmetic: every product and quotient is formed in double
C     precision from 32-bit inputs and stored as a 32-bit REAL. REAL
C     constants that take part in such products are first stored in
C     REAL variables, so that f2c (which keeps constants in decimal and
C     would widen 0.2 straight to the double nearest 0.2) and gfortran
C     both use the REAL nearest the constant.
C
C     Build:  gfortran -std=legacy house.f -lfglut -lfgl
C        or:  f2c house.f && cc house.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM HOUSE
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC
      EXTERNAL DISPLAY, RESHAPE
      INTEGER*4 IWIN
      SAVE IWIN
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_DEPTH)
      IWIN = FGLUTCREATEWINDOWC('Fortran GLUT program')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTRESHAPEFUNC(RESHAPE)
      CALL FGLENABLE(GL_DEPTH_TEST)
      CALL FGLENABLE(GL_LIGHTING)
      CALL FGLENABLE(GL_LIGHT0)
      CALL FGLENABLE(GL_COLOR_MATERIAL)
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLUTMAINLOOP
      END

C     The model parameters: the extents of the box along z, x and y,
C     and the wall and roof colours (red, green, blue).
      BLOCK DATA MODELD
      REAL*4 DEPTH, WIDTH, HEIGHT, WALLC(3), ROOFC(3)
      COMMON /MODEL/ DEPTH, WIDTH, HEIGHT, WALLC, ROOFC
      DATA DEPTH, WIDTH, HEIGHT / 1.0, 1.0, 1.0 /
      DATA WALLC / 0.0, 0.0, 1.0 /
      DATA ROOFC / 1.0, 0.0, 0.0 /
      END

C     Window size W by H: the whole window is the viewport, the shorter
C     side spans -1 to 1, and the model is turned 30 degrees about y,
C     then tilted 30 degrees about x.
      SUBROUTINE RESHAPE(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl.inc'
      INTEGER*4 WINW, WINH
      DOUBLE PRECISION LEFT, RIGHT, BOTTOM, TOP, ZNEAR, ZFAR
      SAVE WINW, WINH, LEFT, RIGHT, BOTTOM, TOP, ZNEAR, ZFAR
      WINW = W
      WINH = H
C     No proportions to keep without a width or a height: keep the
C     previous projection.
      IF (WINW .LE. 0 .OR. WINH .LE. 0) RETURN
      IF (WINH .GT. WINW) THEN
         LEFT = -1.0D0
         RIGHT = 1.0D0
         BOTTOM = DBLE(-WINH) / DBLE(WINW)
         TOP = DBLE(WINH) / DBLE(WINW)
      ELSE
         LEFT = DBLE(-WINW) / DBLE(WINH)
         RIGHT = DBLE(WINW) / DBLE(WINH)
         BOTTOM = -1.0D0
         TOP = 1.0D0
      END IF
      ZNEAR = -1.0D0
      ZFAR = 1.0D0
      CALL FGLVIEWPORT(0, 0, WINW, WINH)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(LEFT, RIGHT, BOTTOM, TOP, ZNEAR, ZFAR)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      CALL FGLROTATEF(30.0, 1.0, 0.0, 0.0)
      CALL FGLROTATEF(30.0, 0.0, 1.0, 0.0)
      END

C     Repaint: clear, scale the largest dimension to 1, draw, flush.
      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      REAL*4 DEPTH, WIDTH, HEIGHT, WALLC(3), ROOFC(3)
      COMMON /MODEL/ DEPTH, WIDTH, HEIGHT, WALLC, ROOFC
      REAL*4 EXTENT, ONE, SX, SY, SZ
      SAVE EXTENT, ONE, SX, SY, SZ
      ONE = 1.0
      CALL FGLPUSHMATRIX
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT)
C     Each test switches unless its first operand is greater than or
C     equal to the second, so a NaN comparison switches too.
      EXTENT = DEPTH
      IF (.NOT. (EXTENT .GE. WIDTH)) EXTENT = WIDTH
      IF (.NOT. (EXTENT .GE. HEIGHT)) EXTENT = HEIGHT
      SX = REAL(DBLE(ONE) / DBLE(EXTENT))
      SY = REAL(DBLE(ONE) / DBLE(EXTENT))
      SZ = REAL(DBLE(ONE) / DBLE(EXTENT))
      CALL FGLSCALEF(SX, SY, SZ)
      CALL DRAWHOUSE(DEPTH, WIDTH, HEIGHT, WALLC, ROOFC)
      CALL FGLPOPMATRIX
      CALL FGLFLUSH
      END

C     Roof and box are depth-tested against each other; the openings
C     then clear the depth buffer and are drawn over both.
      SUBROUTINE DRAWHOUSE(DEPTH, WIDTH, HEIGHT, WALLC, ROOFC)
      REAL*4 DEPTH, WIDTH, HEIGHT, WALLC(3), ROOFC(3)
      CALL FGLPUSHMATRIX
      CALL DRAWROOF(DEPTH, WIDTH, HEIGHT, WALLC, ROOFC)
      CALL DRAWBOX(DEPTH, WIDTH, HEIGHT, WALLC)
      CALL DRAWOPENINGS(DEPTH, WIDTH, HEIGHT)
      CALL FGLPOPMATRIX
      END

C     ---------------------------------------------------------------
C     Walls: six rectangles, one face routine per pair of opposite
C     faces; the rotations accumulate.
      SUBROUTINE DRAWBOX(DEPTH, WIDTH, HEIGHT, WALLC)
      REAL*4 DEPTH, WIDTH, HEIGHT, WALLC(3)
      CALL FGLCOLOR3F(WALLC(1), WALLC(2), WALLC(3))
      CALL FGLPUSHMATRIX
      CALL DRAWFRONTFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLROTATEF(180.0, 0.0, 1.0, 0.0)
      CALL DRAWFRONTFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLROTATEF(90.0, 0.0, 1.0, 0.0)
      CALL DRAWSIDEFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLROTATEF(180.0, 0.0, 1.0, 0.0)
      CALL DRAWSIDEFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLROTATEF(90.0, 1.0, 0.0, 0.0)
      CALL DRAWFLOORFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLROTATEF(180.0, 1.0, 0.0, 0.0)
      CALL DRAWFLOORFACE(HEIGHT, WIDTH, DEPTH)
      CALL FGLPOPMATRIX
      END

C     WIDTH x HEIGHT at z = DEPTH/2.
      SUBROUTINE DRAWFRONTFACE(HEIGHT, WIDTH, DEPTH)
      REAL*4 HEIGHT, WIDTH, DEPTH
      CALL DRAWFACE(DEPTH, WIDTH, HEIGHT)
      END

C     DEPTH x HEIGHT at z = WIDTH/2.
      SUBROUTINE DRAWSIDEFACE(HEIGHT, WIDTH, DEPTH)
      REAL*4 HEIGHT, WIDTH, DEPTH
      CALL DRAWFACE(WIDTH, DEPTH, HEIGHT)
      END

C     DEPTH x WIDTH at z = HEIGHT/2.
      SUBROUTINE DRAWFLOORFACE(HEIGHT, WIDTH, DEPTH)
      REAL*4 HEIGHT, WIDTH, DEPTH
      CALL DRAWFACE(HEIGHT, DEPTH, WIDTH)
      END

C     A U x V rectangle in the plane z = A/2, normal (0, 0, 1).
      SUBROUTINE DRAWFACE(A, U, V)
      REAL*4 A, U, V
      REAL*4 HALF, OFFSET, X1, Y1, X2, Y2
      SAVE HALF, OFFSET, X1, Y1, X2, Y2
      HALF = 0.5
      CALL FGLPUSHMATRIX
      OFFSET = REAL(DBLE(A) * DBLE(HALF))
      CALL FGLTRANSLATEF(0.0, 0.0, OFFSET)
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      X1 = REAL(DBLE(-U) * DBLE(HALF))
      Y1 = REAL(DBLE(-V) * DBLE(HALF))
      X2 = REAL(DBLE(U) * DBLE(HALF))
      Y2 = REAL(DBLE(V) * DBLE(HALF))
      CALL FGLRECTF(X1, Y1, X2, Y2)
      CALL FGLPOPMATRIX
      END

C     ---------------------------------------------------------------
C     Door and windows, black, in the planes of the front wall
C     (z = DEPTH/2) and the left wall (x = -WIDTH/2).
      SUBROUTINE DRAWOPENINGS(D, W, H)
      REAL*4 D, W, H
      INCLUDE 'fgl.inc'
      REAL*4 F01, F02, F03, F05, F2, FM02, FM05
      REAL*4 P2, P3, A, X, B
      SAVE F01, F02, F03, F05, F2, FM02, FM05
C     Products formed in double precision, left to right, stored as
C     REAL: P2(A, X) = A * X, P3(A, B, X) = A * B * X.
      P2(A, X) = REAL(DBLE(A) * DBLE(X))
      P3(A, B, X) = REAL(DBLE(A) * DBLE(B) * DBLE(X))
      F01 = 0.1
      F02 = 0.2
      F03 = 0.3
      F05 = 0.5
      F2 = 2.0
      FM02 = -0.2
      FM05 = -0.5
      CALL FGLCLEAR(GL_DEPTH_BUFFER_BIT)
      CALL FGLPUSHMATRIX
      CALL FGLCOLOR3F(0.0, 0.0, 0.0)
      IF (D .GE. W) THEN
C        Two windows on the front wall.
         CALL MOVE(P2(FM02, W), 0.0, P2(F05, D))
         CALL RECTANGLE(P2(F01, W), P2(F02, H))
         CALL MOVE(P3(F2, F02, W), 0.0, 0.0)
         CALL RECTANGLE(P2(F01, W), P2(F02, H))
         CALL MOVE(-P2(F02, W), P2(FM02, H), P2(FM05, D))
C        Frame x along +z, z along -x: door and small window, left.
         CALL FGLROTATEF(-90.0, 0.0, 1.0, 0.0)
         CALL MOVE(P2(F02, D), 0.0, P2(F05, W))
         CALL RECTANGLE(P2(F01, D), P2(F03, H))
         CALL MOVE(-P3(F2, F02, D), P2(F02, H), 0.0)
         CALL RECTANGLE(P2(F01, D), P2(F01, H))
      ELSE
C        Door and small window on the front wall.
         CALL MOVE(P2(F02, W), P2(FM02, H), P2(F05, D))
         CALL RECTANGLE(P2(F01, W), P2(F03, H))
         CALL MOVE(-P3(F2, F02, W), P2(F02, H), 0.0)
         CALL RECTANGLE(P2(F01, W), P2(F01, H))
         CALL MOVE(P2(F02, W), 0.0, P2(FM05, D))
C        Two windows on the left wall.
         CALL FGLROTATEF(-90.0, 0.0, 1.0, 0.0)
         CALL MOVE(P2(FM02, D), 0.0, P2(F05, W))
         CALL RECTANGLE(P2(F01, D), P2(F02, H))
         CALL MOVE(P3(F2, F02, D), 0.0, 0.0)
         CALL RECTANGLE(P2(F01, D), P2(F02, H))
      END IF
      CALL FGLPOPMATRIX
      END

C     Translate by (X, Y, Z).
      SUBROUTINE MOVE(X, Y, Z)
      REAL*4 X, Y, Z
      REAL*4 MX, MY, MZ
      SAVE MX, MY, MZ
      MX = X
      MY = Y
      MZ = Z
      CALL FGLTRANSLATEF(MX, MY, MZ)
      END

C     A rectangle centred on the frame's origin, HU across, HV up.
      SUBROUTINE RECTANGLE(HU, HV)
      REAL*4 HU, HV
      REAL*4 X1, Y1, X2, Y2
      SAVE X1, Y1, X2, Y2
      X1 = -HU
      Y1 = -HV
      X2 = HU
      Y2 = HV
      CALL FGLRECTF(X1, Y1, X2, Y2)
      END

C     ---------------------------------------------------------------
C     The half-hipped roof, ridge along the longer horizontal
C     dimension, pitch 30 degrees.
      SUBROUTINE DRAWROOF(DEPTH, WIDTH, HEIGHT, WALLC, ROOFC)
      REAL*4 DEPTH, WIDTH, HEIGHT, WALLC(3), ROOFC(3)
      REAL*4 PITCH, RAFTER, EAVE, RISE, RIDGEH, PTURN, GTURN
      REAL*4 MRAFT, MEAVE, MPTURN, MGTURN, SPAN, RLEN
      REAL*4 F12, PI, RANGLE, DEGRAD
      DOUBLE PRECISION HSPAN
      LOGICAL ALONGZ
      SAVE PITCH, RAFTER, EAVE, RISE, RIDGEH, PTURN, GTURN
      SAVE MRAFT, MEAVE, MPTURN, MGTURN, SPAN, RLEN
      SAVE F12, PI, RANGLE, DEGRAD
      F12 = 1.2
      PI = 3.1415927
      RANGLE = 1.5707964
      DEGRAD = 57.29578
      PITCH = 0.5235988
      CALL FGLPUSHMATRIX
C     Case A (DEPTH .GE. WIDTH): the ridge runs along z. Case B, also
C     taken when the comparison is unordered: along x.
      ALONGZ = DEPTH .GE. WIDTH
      IF (ALONGZ) THEN
         SPAN = WIDTH
         RLEN = DEPTH
      ELSE
         SPAN = DEPTH
         RLEN = WIDTH
      END IF
      HSPAN = 0.5D0 * DBLE(SPAN)
      RAFTER = REAL(HSPAN / COS(DBLE(PITCH)))
      EAVE = REAL(DBLE(RAFTER) * DBLE(F12))
      RISE = REAL(TAN(DBLE(PITCH)) * HSPAN)
      RIDGEH = REAL(0.5D0 * DBLE(HEIGHT) + DBLE(RISE))
      PTURN = REAL(DBLE(PITCH) * 2.0D0 * 180.0D0 / DBLE(PI))
      GTURN = REAL((DBLE(RANGLE) - DBLE(PITCH)) * DBLE(DEGRAD))
      IF (ALONGZ) CALL FGLROTATEF(90.0, 0.0, 1.0, 0.0)
      CALL FGLTRANSLATEF(0.0, RIDGEH, 0.0)
      MGTURN = -GTURN
      CALL FGLROTATEF(MGTURN, 1.0, 0.0, 0.0)
      CALL DRAWROOFPLANE(RAFTER, RLEN, EAVE, ROOFC)
      MPTURN = -PTURN
      CALL FGLROTATEF(MPTURN, 1.0, 0.0, 0.0)
      MRAFT = -RAFTER
      MEAVE = -EAVE
      CALL DRAWROOFPLANE(MRAFT, RLEN, MEAVE, ROOFC)
      CALL FGLPOPMATRIX
      CALL FGLPUSHMATRIX
      IF (.NOT. ALONGZ) CALL FGLROTATEF(-90.0, 0.0, 1.0, 0.0)
      CALL DRAWROOFENDS(RAFTER, RLEN, RIDGEH, PITCH, WALLC, ROOFC)
      CALL FGLPOPMATRIX
      CALL FGLFLUSH
      END

C     One roof plane in z = 0, ridge on the x axis; positive R and E
C     hang it towards -y, negated ones towards +y.
      SUBROUTINE DRAWROOFPLANE(R, RLEN, E, COLOUR)
      REAL*4 R, RLEN, E, COLOUR(3)
      INCLUDE 'fgl.inc'
      REAL*4 F02, F04, FM04
      DOUBLE PRECISION DR, DL, DE, OUTER
      SAVE F02, F04, FM04
      F02 = 0.2
      F04 = 0.4
      FM04 = -0.4
      DR = DBLE(R)
      DL = DBLE(RLEN)
      DE = DBLE(E)
      OUTER = -3.0D0 * DBLE(F02) * DL
      CALL FGLBEGIN(GL_POLYGON)
      CALL FGLCOLOR3F(COLOUR(1), COLOUR(2), COLOUR(3))
      CALL PLANEVERTEX(OUTER, -DE)
      CALL PLANEVERTEX(OUTER, -0.5D0 * DR)
      CALL PLANEVERTEX(DBLE(FM04) * DL, 0.0D0)
      CALL PLANEVERTEX(DBLE(F04) * DL, 0.0D0)
      CALL PLANEVERTEX(3.0D0 * DBLE(F02) * DL, -0.5D0 * DR)
      CALL PLANEVERTEX(3.0D0 * DBLE(F02) * DL, -DE)
      CALL FGLEND
      CALL FGLFLUSH
      END

C     Normal (0, 0, 1), then the vertex (X, Y) stored as REALs.
      SUBROUTINE PLANEVERTEX(X, Y)
      DOUBLE PRECISION X, Y
      REAL*4 CX, CY
      SAVE CX, CY
      CX = REAL(X)
      CY = REAL(Y)
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL FGLVERTEX2F(CX, CY)
      END

C     Both half-hipped ends, the second turned half a turn about y.
      SUBROUTINE DRAWROOFENDS(RAFTER, RLEN, RIDGEH, PITCH, WALLC,
     &                        ROOFC)
      REAL*4 RAFTER, RLEN, RIDGEH, PITCH, WALLC(3), ROOFC(3)
      REAL*4 CPITCH, SPITCH
      SAVE CPITCH, SPITCH
      CPITCH = REAL(COS(DBLE(PITCH)))
      SPITCH = REAL(SIN(DBLE(PITCH)))
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(0.0, RIDGEH, 0.0)
      CALL DRAWROOFEND(RAFTER, RLEN, CPITCH, SPITCH, WALLC, ROOFC)
      CALL FGLROTATEF(180.0, 0.0, 1.0, 0.0)
      CALL DRAWROOFEND(RAFTER, RLEN, CPITCH, SPITCH, WALLC, ROOFC)
      CALL FGLPOPMATRIX
      CALL FGLFLUSH
      END

C     Hip triangle (roof colour, current normal) and gable trapezoid
C     (wall colour) of the end at +z of the current frame.
      SUBROUTINE DRAWROOFEND(RAFTER, RLEN, CPITCH, SPITCH, WALLC,
     &                       ROOFC)
      REAL*4 RAFTER, RLEN, CPITCH, SPITCH, WALLC(3), ROOFC(3)
      INCLUDE 'fgl.inc'
      REAL*4 F02, F04
      DOUBLE PRECISION R, L, C, S
      SAVE F02, F04
      F02 = 0.2
      F04 = 0.4
      R = DBLE(RAFTER)
      L = DBLE(RLEN)
      C = DBLE(CPITCH)
      S = DBLE(SPITCH)
      CALL FGLBEGIN(GL_TRIANGLES)
      CALL FGLCOLOR3F(ROOFC(1), ROOFC(2), ROOFC(3))
      CALL ENDVERTEX(0.0D0, 0.0D0, DBLE(F04) * L)
      CALL ENDVERTEX(C * (-0.5D0 * R), -(S * 0.5D0 * R),
     &               3.0D0 * DBLE(F02) * L)
      CALL ENDVERTEX(C * 0.5D0 * R, -(S * 0.5D0 * R),
     &               3.0D0 * DBLE(F02) * L)
      CALL FGLEND
      CALL FGLBEGIN(GL_POLYGON)
      CALL FGLCOLOR3F(WALLC(1), WALLC(2), WALLC(3))
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL ENDVERTEX(-0.5D0 * R * C, -0.5D0 * R * S, 0.5D0 * L)
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL ENDVERTEX(0.5D0 * R * C, -0.5D0 * R * S, 0.5D0 * L)
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL ENDVERTEX(R * C, -R * S, 0.5D0 * L)
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL ENDVERTEX(-R * C, -R * S, 0.5D0 * L)
      CALL FGLEND
      END

C     The vertex (X, Y, Z) stored as REALs.
      SUBROUTINE ENDVERTEX(X, Y, Z)
      DOUBLE PRECISION X, Y, Z
      REAL*4 CX, CY, CZ
      SAVE CX, CY, CZ
      CX = REAL(X)
      CY = REAL(Y)
      CZ = REAL(Z)
      CALL FGLVERTEX3F(CX, CY, CZ)
      END
