C     glu_calls.f: GLU entries called by their Fortran names. Checks its
C     own results, prints each mismatch and exits with their number.
      PROGRAM GLUCAL
      INCLUDE 'fglut.inc'
      INCLUDE 'fglufn.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      INTEGER*4 NBAD
      COMMON /BAD/ NBAD
      NBAD = 0
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
      IWIN = FGLUTCREATEWINDOWC('GLU from Fortran')
      CALL PERSP
      CALL TESS
      CALL QUADS
      CALL TEXTS
      CALL MIPMAP
      IF (NBAD .EQ. 0) WRITE (*, '(A)') 'GLU FORTRAN OK'
      CALL EXIT(NBAD)
      END

C     Counts a failed check and says which.
      SUBROUTINE CHECK(OK, WHAT)
      LOGICAL OK
      CHARACTER*(*) WHAT
      INTEGER*4 NBAD
      COMMON /BAD/ NBAD
      IF (.NOT. OK) THEN
         NBAD = NBAD + 1
         WRITE (*, '(2A)') 'MISMATCH: ', WHAT
      END IF
      END

C     fgluPerspective leaves the matrix its formula gives.
      SUBROUTINE PERSP
      INCLUDE 'fgl.inc'
      DOUBLE PRECISION M(16), F
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      CALL FGLUPERSPECTIVE(90.0D0, 2.0D0, 1.0D0, 3.0D0)
      CALL FGLGETDOUBLEV(GL_MODELVIEW_MATRIX, M)
      F = 1.0D0 / TAN(3.14159265358979D0 / 4.0D0)
      CALL CHECK(ABS(M(1) - F / 2.0D0) .LT. 1.0D-9, 'perspective 1')
      CALL CHECK(ABS(M(6) - F) .LT. 1.0D-9, 'perspective 6')
      CALL CHECK(ABS(M(11) + 2.0D0) .LT. 1.0D-9, 'perspective 11')
      CALL CHECK(M(12) .EQ. -1.0D0, 'perspective 12')
      CALL CHECK(ABS(M(15) + 3.0D0) .LT. 1.0D-9, 'perspective 15')
      CALL FGLLOADIDENTITY
      END

C     A self-intersecting bow tie: the combine routine makes the crossing
C     vertex, which the vertex routine then receives as its data.
      SUBROUTINE TESS
      INCLUDE 'fgl.inc'
      INCLUDE 'fglu.inc'
      INCLUDE 'fglufn.inc'
      INTEGER*4 T, I, J
      DOUBLE PRECISION V(16, 4), R
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      EXTERNAL TBEGIN, TVERT, TEDGE, TCOMB, TERR
      DATA V /64*0.0D0/
      V(1, 2) = 2.0D0
      V(2, 2) = 2.0D0
      V(1, 3) = 2.0D0
      V(2, 4) = 2.0D0
      NBEGIN = 0
      NVERT = 0
      NNEW = 0
      NCOMB = 0
      NEDGE = 0
      LASTER = 0
      T = FGLUNEWTESS()
      CALL CHECK(T .GT. 0, 'new tessellator')
      CALL FGLUTESSCALLBACK(T, GLU_TESS_BEGIN, TBEGIN)
      CALL FGLUTESSCALLBACK(T, GLU_TESS_VERTEX, TVERT)
      CALL FGLUTESSCALLBACK(T, GLU_TESS_EDGE_FLAG, TEDGE)
      CALL FGLUTESSCALLBACK(T, GLU_TESS_COMBINE, TCOMB)
      CALL FGLUTESSCALLBACK(T, GLU_TESS_ERROR, TERR)
      CALL FGLUTESSPROPERTY(T, GLU_TESS_WINDING_RULE,
     &     DBLE(GLU_TESS_WINDING_ODD))
      CALL FGLUGETTESSPROPERTY(T, GLU_TESS_WINDING_RULE, R)
      CALL CHECK(R .EQ. DBLE(GLU_TESS_WINDING_ODD), 'winding rule')
      CALL FGLUTESSBEGINPOLYGON(T, V)
      CALL FGLUTESSBEGINCONTOUR(T)
      DO 10 I = 1, 4
         CALL FGLUTESSVERTEX(T, V(1, I), V(1, I))
   10 CONTINUE
      CALL FGLUTESSENDCONTOUR(T)
      CALL FGLUTESSENDPOLYGON(T)
      CALL CHECK(NBEGIN .EQ. 1, 'one begin')
      CALL CHECK(LTYPE .EQ. GL_TRIANGLES, 'triangles')
      CALL CHECK(NVERT .EQ. 6, 'six vertices')
      CALL CHECK(NCOMB .EQ. 1, 'one combine')
      CALL CHECK(NNEW .EQ. 2, 'the new vertex twice')
      CALL CHECK(NEDGE .GE. 1, 'edge flags')
      CALL CHECK(LASTER .EQ. 0, 'no error')
C     An error goes to the error routine.
      CALL FGLUTESSBEGINCONTOUR(T)
      CALL CHECK(LASTER .EQ. GLU_TESS_MISSING_BEGIN_POLYGON,
     &     'missing begin polygon')
      CALL FGLUDELETETESS(T)
C     A deleted handle does nothing.
      LASTER = 0
      CALL FGLUTESSENDCONTOUR(T)
      CALL CHECK(LASTER .EQ. 0, 'deleted tessellator')
      J = FGLUNEWTESS()
      CALL CHECK(J .GT. T, 'handles are not reused')
      CALL FGLUDELETETESS(J)
      END

      SUBROUTINE TBEGIN(ITYPE)
      INTEGER*4 ITYPE
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      NBEGIN = NBEGIN + 1
      LTYPE = ITYPE
      END

      SUBROUTINE TVERT(V)
      DOUBLE PRECISION V(16)
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      NVERT = NVERT + 1
      IF (V(4) .EQ. 99.0D0) THEN
         NNEW = NNEW + 1
         CALL CHECK(V(1) .EQ. 1.0D0 .AND. V(2) .EQ. 1.0D0,
     &        'new vertex at the crossing')
      END IF
      END

      SUBROUTINE TEDGE(IFLAG)
      INTEGER*4 IFLAG
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      CALL CHECK(IFLAG .EQ. 0 .OR. IFLAG .EQ. 1, 'edge flag value')
      NEDGE = NEDGE + 1
      END

      SUBROUTINE TCOMB(COORDS, D1, D2, D3, D4, W, OUT)
      DOUBLE PRECISION COORDS(3), D1(16), D2(16), D3(16), D4(16)
      REAL W(4)
      DOUBLE PRECISION OUT(16)
      INTEGER*4 I
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      NCOMB = NCOMB + 1
      DO 10 I = 1, 16
         CALL CHECK(OUT(I) .EQ. 0.0D0, 'OUTDATA arrives as zeros')
   10 CONTINUE
      CALL CHECK(ABS(W(1) + W(2) + W(3) + W(4) - 1.0) .LT. 1.0E-5,
     &     'weights')
      CALL CHECK(D1(3) + D2(3) + D3(3) + D4(3) .EQ. 0.0D0,
     &     'neighbour data')
      OUT(1) = COORDS(1)
      OUT(2) = COORDS(2)
      OUT(3) = COORDS(3)
      OUT(4) = 99.0D0
      END

      SUBROUTINE TERR(IERR)
      INTEGER*4 IERR
      INTEGER*4 NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      COMMON /TLOG/ NBEGIN, LTYPE, NVERT, NNEW, NCOMB, NEDGE, LASTER
      LASTER = IERR
      END

C     A quadric's error routine, and a deleted quadric.
      SUBROUTINE QUADS
      INCLUDE 'fglu.inc'
      INCLUDE 'fglufn.inc'
      INTEGER*4 Q
      INTEGER*4 NQERR, LQERR
      COMMON /QLOG/ NQERR, LQERR
      EXTERNAL QERR
      NQERR = 0
      Q = FGLUNEWQUADRIC()
      CALL CHECK(Q .GT. 0, 'new quadric')
      CALL FGLUQUADRICCALLBACK(Q, GLU_ERROR, QERR)
      CALL FGLUQUADRICDRAWSTYLE(Q, 12345)
      CALL CHECK(NQERR .EQ. 1 .AND. LQERR .EQ. GLU_INVALID_ENUM,
     &     'quadric error')
      CALL FGLUQUADRICDRAWSTYLE(Q, GLU_LINE)
      CALL FGLUSPHERE(Q, 1.0D0, 8, 4)
      CALL FGLUDELETEQUADRIC(Q)
      CALL FGLUQUADRICDRAWSTYLE(Q, 12345)
      CALL CHECK(NQERR .EQ. 1, 'deleted quadric')
      END

      SUBROUTINE QERR(IERR)
      INTEGER*4 IERR
      INTEGER*4 NQERR, LQERR
      COMMON /QLOG/ NQERR, LQERR
      NQERR = NQERR + 1
      LQERR = IERR
      END

C     Text into CHARACTER variables.
      SUBROUTINE TEXTS
      INCLUDE 'fglu.inc'
      INCLUDE 'fglufn.inc'
      CHARACTER*40 TEXT
      CHARACTER*5 SHORT
      INTEGER*4 N
      N = FGLUERRORSTRINGC(GLU_INVALID_ENUM, TEXT)
      CALL CHECK(N .EQ. 17, 'error string length')
      CALL CHECK(TEXT .EQ. 'invalid enumerant', 'error string')
      N = FGLUERRORSTRINGC(GLU_INVALID_ENUM, SHORT)
      CALL CHECK(N .EQ. 17 .AND. SHORT .EQ. 'inval', 'truncated')
      N = FGLUGETSTRINGC(GLU_VERSION, TEXT)
      CALL CHECK(N .GT. 0 .AND. TEXT(1:2) .EQ. '1.', 'version')
      N = FGLUGETSTRINGC(12345, TEXT)
      CALL CHECK(N .EQ. 0 .AND. TEXT .EQ. ' ', 'no string')
      CALL CHECK(FGLUCHECKEXTENSIONC('GLU_B', 'GLU_A GLU_B') .EQ. 1,
     &     'extension present')
      CALL CHECK(FGLUCHECKEXTENSIONC('GLU_C', 'GLU_A GLU_B') .EQ. 0,
     &     'extension absent')
      END

C     Mipmaps from INTEGER*4 data: every level down to 1 x 1.
      SUBROUTINE MIPMAP
      INCLUDE 'fgl.inc'
      INCLUDE 'fglufn.inc'
      INTEGER*4 IMG(48), I, N, IW
      INTEGER*4 PIX(3)
      DO 10 I = 1, 48
         IMG(I) = 200
   10 CONTINUE
      CALL FGLPIXELSTOREI(GL_UNPACK_ALIGNMENT, 1)
      CALL FGLPIXELSTOREI(GL_PACK_ALIGNMENT, 1)
      N = FGLUBUILD2DMIPMAPSI4(GL_TEXTURE_2D, 3, 4, 4, GL_RGB,
     &     GL_UNSIGNED_BYTE, IMG, 48)
      CALL CHECK(N .EQ. 0, 'mipmaps built')
      CALL FGLGETTEXLEVELPARAMETERIV(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH,
     &     IW)
      CALL CHECK(IW .EQ. 1, 'level 2 is 1 x 1')
      CALL FGLGETTEXIMAGEI4(GL_TEXTURE_2D, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &     PIX, 3)
      CALL CHECK(PIX(1) .EQ. 200 .AND. PIX(3) .EQ. 200, 'level 2')
      END
