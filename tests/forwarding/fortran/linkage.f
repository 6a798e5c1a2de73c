C     Calls forwarding entries by their Fortran names, with arguments
C     held in 1-, 2- and 4-byte integers, singles, doubles and arrays,
C     and with results; checks through OpenGL's own queries what OpenGL
C     received. Prints LINKAGE OK and ends normally when all agree.
      PROGRAM LINKAG
      INTEGER*4 FGLISENABLEDI4, FGLISLISTI4, FGLRENDERMODE
      INTEGER*4 FGLGENLISTS
      EXTERNAL FGLISENABLEDI4, FGLISLISTI4, FGLRENDERMODE
      EXTERNAL FGLGENLISTS
      INTEGER*4 CURCOL, DEPCLR, DEPTST, POINTS, FEEDBK, RENDER
      INTEGER*4 TWOD, COMPIL, PROJ, MODEL, PTTOK
      PARAMETER (CURCOL = 2816, DEPCLR = 2931, DEPTST = 2929)
      PARAMETER (POINTS = 0, FEEDBK = 7169, RENDER = 7168)
      PARAMETER (TWOD = 1536, COMPIL = 4864, PROJ = 5889)
      PARAMETER (MODEL = 5888, PTTOK = 1793)
      INTEGER*1 R1, G1, B1
      INTEGER*2 R2, G2, B2
      INTEGER*4 R4, G4, B4, X4, Y4, N, LIST, ISLIST, ON, OFF
      REAL*4 C(4), FB(16), R, G, B
      REAL*8 D(2), DEPTH
      INTEGER NFAIL
      COMMON /FAILS/ NFAIL
C     A shader from CHARACTER lines, its source and a uniform by name.
      INTEGER*4 FGLCREATESHADER, FGLGETSHADERSOURCEC
      INTEGER*4 FGLCREATEPROGRAM, FGLGETUNIFORMLOCATIONC
      EXTERNAL FGLCREATESHADER, FGLGETSHADERSOURCEC
      EXTERNAL FGLCREATEPROGRAM, FGLGETUNIFORMLOCATIONC
      INTEGER*4 VSHADE, CSTAT, LSTAT, SHADER, PROG, NLINES, LOC
      PARAMETER (VSHADE = 35633, CSTAT = 35713, LSTAT = 35714)
      CHARACTER*40 LINES(4)
      CHARACTER*120 SOURCE
      CHARACTER*5 SHORT
      DATA LINES /'#version 120', 'uniform float scale;',
     &  'void main() { gl_Position = scale *',
     &  '  gl_Vertex; }'/
      NFAIL = 0
      CALL OPENWN

C     1-byte storage: the INTEGER*1 -1 is the unsigned byte 255.
      R1 = -1
      G1 = 0
      B1 = 51
      CALL FGLCOLOR3UB(R1, G1, B1)
      CALL FGLGETFLOATV(CURCOL, C)
      CALL EXPECT('FGLCOLOR3UB', C, 1.0, 0.0, 0.2)

C     4-byte storage: only the low byte of each value arrives.
      R4 = 256
      G4 = 511
      B4 = 102
      CALL FGLCOLOR3UBI4(R4, G4, B4)
      CALL FGLGETFLOATV(CURCOL, C)
      CALL EXPECT('FGLCOLOR3UBI4', C, 0.0, 1.0, 0.4)

C     2-byte storage, the command's own type.
      R2 = 32767
      G2 = -32768
      B2 = 32767
      CALL FGLCOLOR3S(R2, G2, B2)
      CALL FGLGETFLOATV(CURCOL, C)
      CALL EXPECT('FGLCOLOR3S', C, 1.0, -1.0, 1.0)

C     Singles.
      R = 0.25
      G = 0.5
      B = 0.75
      CALL FGLCOLOR3F(R, G, B)
      CALL FGLGETFLOATV(CURCOL, C)
      CALL EXPECT('FGLCOLOR3F', C, 0.25, 0.5, 0.75)

C     A double, read back as a double.
      DEPTH = 0.375D0
      CALL FGLCLEARDEPTH(DEPTH)
      CALL FGLGETDOUBLEV(DEPCLR, D)
      IF (ABS(D(1) - 0.375D0) .GT. 0D0) THEN
        PRINT *, 'FGLCLEARDEPTH: got ', D(1)
        NFAIL = NFAIL + 1
      END IF

C     A boolean result delivered as a 4-byte integer.
      CALL FGLENABLE(DEPTST)
      ON = FGLISENABLEDI4(DEPTST)
      CALL FGLDISABLE(DEPTST)
      OFF = FGLISENABLEDI4(DEPTST)
      IF (ON .NE. 1 .OR. OFF .NE. 0) THEN
        PRINT *, 'FGLISENABLEDI4: got ', ON, OFF
        NFAIL = NFAIL + 1
      END IF

C     An unsigned result, and a list made with it.
      LIST = FGLGENLISTS(1)
      CALL FGLNEWLIST(LIST, COMPIL)
      CALL FGLENDLIST
      ISLIST = FGLISLISTI4(LIST)
      IF (LIST .EQ. 0 .OR. ISLIST .NE. 1) THEN
        PRINT *, 'FGLGENLISTS: list ', LIST, ISLIST
        NFAIL = NFAIL + 1
      END IF

C     Shorts in 4-byte storage, through feedback: 70000 arrives as 4464
C     and -2 as -2; the window coordinates show both.
      CALL FGLVIEWPORT(0, 0, 1000, 20)
      CALL FGLMATRIXMODE(PROJ)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(0D0, 1D4, -10D0, 10D0, -1D0, 1D0)
      CALL FGLMATRIXMODE(MODEL)
      CALL FGLFEEDBACKBUFFER(16, TWOD, FB)
      N = FGLRENDERMODE(FEEDBK)
      CALL FGLBEGIN(POINTS)
      X4 = 70000
      Y4 = -2
      CALL FGLVERTEX2SI4(X4, Y4)
      CALL FGLEND
      N = FGLRENDERMODE(RENDER)
      IF (N .NE. 3 .OR. NINT(FB(1)) .NE. PTTOK .OR.
     &    ABS(FB(2) - 446.4) .GT. 1E-3 .OR.
     &    ABS(FB(3) - 8.0) .GT. 1E-3) THEN
        PRINT *, 'FGLVERTEX2SI4: ', N, FB(1), FB(2), FB(3)
        NFAIL = NFAIL + 1
      END IF

      SHADER = FGLCREATESHADER(VSHADE)
      NLINES = 4
      CALL FGLSHADERSOURCEC(SHADER, NLINES, LINES)
      CALL FGLCOMPILESHADER(SHADER)
      CALL FGLGETSHADERIV(SHADER, CSTAT, N)
      IF (N .NE. 1) THEN
        PRINT *, 'FGLSHADERSOURCEC: NOT COMPILED'
        NFAIL = NFAIL + 1
      END IF
      N = FGLGETSHADERSOURCEC(SHADER, SOURCE)
      IF (N .NE. 85 .OR. SOURCE(1:13) .NE. '#version 120' // CHAR(10)
     &    .OR. SOURCE(71:85) .NE. '  gl_Vertex; }' // CHAR(10)
     &    .OR. SOURCE(86:120) .NE. ' ') THEN
        PRINT *, 'FGLGETSHADERSOURCEC: ', N, SOURCE
        NFAIL = NFAIL + 1
      END IF
      N = FGLGETSHADERSOURCEC(SHADER, SHORT)
      IF (N .NE. 85 .OR. SHORT .NE. '#vers') THEN
        PRINT *, 'FGLGETSHADERSOURCEC, TRUNCATED: ', N, SHORT
        NFAIL = NFAIL + 1
      END IF
      PROG = FGLCREATEPROGRAM()
      CALL FGLATTACHSHADER(PROG, SHADER)
      CALL FGLLINKPROGRAM(PROG)
      CALL FGLGETPROGRAMIV(PROG, LSTAT, N)
      LOC = FGLGETUNIFORMLOCATIONC(PROG, 'scale    ')
      R4 = FGLGETUNIFORMLOCATIONC(PROG, 'scal')
      IF (N .NE. 1 .OR. LOC .LT. 0 .OR. R4 .NE. -1) THEN
        PRINT *, 'FGLGETUNIFORMLOCATIONC: ', N, LOC, R4
        NFAIL = NFAIL + 1
      END IF

      IF (NFAIL .NE. 0) THEN
        PRINT *, NFAIL, ' CHECKS FAILED'
        STOP 1
      END IF
      PRINT *, 'LINKAGE OK'
      END

C     Compares the first three components of a colour read back.
      SUBROUTINE EXPECT(WHAT, C, R, G, B)
      CHARACTER*(*) WHAT
      REAL*4 C(4), R, G, B
      INTEGER NFAIL
      COMMON /FAILS/ NFAIL
      IF (ABS(C(1) - R) .GT. 1E-6 .OR. ABS(C(2) - G) .GT. 1E-6 .OR.
     &    ABS(C(3) - B) .GT. 1E-6) THEN
        PRINT *, WHAT, ': got ', C(1), C(2), C(3)
        NFAIL = NFAIL + 1
      END IF
      END
