C     arrays.f: a 3-D texture, vertex arrays and indices through the
C     fgl entries, checked by the program itself.
C
C     The vertex arrays live in COMMON, so their addresses stay valid
C     until the draws that read them. The same triangles are drawn in
C     immediate mode and through the arrays with indices in INTEGER*4,
C     INTEGER*2 and INTEGER*1 storage and through fglDrawElementsI4;
C     every picture must equal the immediate-mode one. fglGetPointerv
C     writes the array's address into an INTEGER*8.
C
C     Prints one MISMATCH line per failed comparison, then
C     "CHECKS n FAILURES m", and ends with CALL EXIT(m).
C
C     Build:  gfortran -std=legacy arrays.f -lfglut -lfgl
C        or:  f2c arrays.f
C             cc -Dlongint=long arrays.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM ARRAYS
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DISPLAY
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGBA + GLUT_SINGLE)
      CALL FGLUTINITWINDOWSIZE(64, 64)
      IWIN = FGLUTCREATEWINDOWC('Fortran vertex arrays')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTMAINLOOP
      END

C     All checks run in the first repaint; then the program ends.
      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      INTEGER*4 NFAIL, NCHECK
      COMMON /TALLY/ NFAIL, NCHECK
      INTEGER*4 FGLGETERROR
      CALL FGLVIEWPORT(0, 0, 64, 64)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(0.0D0, 64.0D0, 0.0D0, 64.0D0, -1.0D0, 1.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      CALL FGLDISABLE(GL_DITHER)
      CALL FGLCLEARCOLOR(0.0, 0.0, 0.0, 0.0)
      CALL FGLPIXELSTOREI(GL_UNPACK_ALIGNMENT, 1)
      CALL FGLPIXELSTOREI(GL_PACK_ALIGNMENT, 1)
      CALL TEX3D
      CALL VARRAY
      CALL CHECK('no error left over', FGLGETERROR(), GL_NO_ERROR)
      WRITE (*, 100) NCHECK, NFAIL
      CALL FLUSH(6)
      CALL EXIT(MIN(NFAIL, 100))
  100 FORMAT ('CHECKS', I6, ' FAILURES', I6)
      END

      BLOCK DATA TALLYD
      INTEGER*4 NFAIL, NCHECK
      COMMON /TALLY/ NFAIL, NCHECK
      DATA NFAIL, NCHECK / 0, 0 /
      END

C     One comparison: GOT must equal WANT.
      SUBROUTINE CHECK(WHAT, GOT, WANT)
      CHARACTER*(*) WHAT
      INTEGER*4 GOT, WANT
      INTEGER*4 NFAIL, NCHECK
      COMMON /TALLY/ NFAIL, NCHECK
      NCHECK = NCHECK + 1
      IF (GOT .NE. WANT) THEN
         NFAIL = NFAIL + 1
         WRITE (*, 100) WHAT, GOT, WANT
      END IF
  100 FORMAT ('MISMATCH ', A, ': got', I12, ', expected', I12)
      END

C     A 4 x 2 x 3 luminance texture from INTEGER*4 elements whose high
C     bits must be dropped, read back into INTEGER*4.
      SUBROUTINE TEX3D
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl11.inc'
      INCLUDE 'fgl12.inc'
      INTEGER*4 IN(24), OUT(24), I, N
      N = 24
      DO 10 I = 1, 24
         IN(I) = 256 * I + MOD(I * 37, 256)
         OUT(I) = -1
   10 CONTINUE
      CALL FGLTEXIMAGE3DI4(GL_TEXTURE_3D, 0, GL_LUMINANCE8, 4, 2, 3, 0,
     &                     GL_LUMINANCE, GL_UNSIGNED_BYTE, IN, N)
      CALL FGLGETTEXIMAGEI4(GL_TEXTURE_3D, 0, GL_LUMINANCE,
     &                      GL_UNSIGNED_BYTE, OUT, N)
      DO 20 I = 1, 24
         CALL CHECK('3-D texel', OUT(I), MOD(I * 37, 256))
   20 CONTINUE
      END

C     Four triangles side by side, twelve vertices with their own
C     colours, kept in COMMON; ORDER lists them triangle by triangle in
C     another order than they are stored.
      SUBROUTINE VARRAY
      INCLUDE 'fgl.inc'
      INCLUDE 'fgl11.inc'
      REAL*4 XY(2, 12), RGB(3, 12), DX(3), DY(3)
      COMMON /SCENE/ XY, RGB
      INTEGER*4 REF(12288), ORDER(12), IDX4(12), I, J, K, NLIT
      INTEGER*2 IDX2(12)
      INTEGER*1 IDX1(12)
      INTEGER*8 ADDR1, ADDR2
      INTEGER*4 NDIFF
      DATA DX / 0.0, 12.0, 4.0 /, DY / 0.0, 2.0, 30.0 /
      DATA ORDER / 6, 7, 8, 0, 1, 2, 9, 10, 11, 3, 4, 5 /
      DO 10 I = 1, 12
         K = (I - 1) / 3
         J = MOD(I - 1, 3) + 1
         XY(1, I) = 4.0 + 15.0 * REAL(K) + DX(J)
         XY(2, I) = 4.0 + 6.0 * REAL(K) + DY(J)
         RGB(1, I) = REAL(MOD(I * 7, 10)) / 9.0
         RGB(2, I) = REAL(MOD(I * 3 + 1, 10)) / 9.0
         RGB(3, I) = REAL(MOD(I * 5 + 2, 10)) / 9.0
         IDX4(I) = ORDER(I)
         IDX2(I) = ORDER(I)
         IDX1(I) = ORDER(I)
   10 CONTINUE

C     The reference: immediate mode.
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLBEGIN(GL_TRIANGLES)
      DO 20 I = 1, 12
         K = ORDER(I) + 1
         CALL FGLCOLOR3F(RGB(1, K), RGB(2, K), RGB(3, K))
         CALL FGLVERTEX2F(XY(1, K), XY(2, K))
   20 CONTINUE
      CALL FGLEND
      CALL FGLREADPIXELSI4(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE,
     &                     REF, 12288)
      NLIT = 0
      DO 30 I = 1, 12288
         IF (REF(I) .NE. 0) NLIT = NLIT + 1
   30 CONTINUE
      CALL CHECK('reference drawn', MIN(NLIT, 500), 500)

      CALL FGLVERTEXPOINTER(2, GL_FLOAT, 0, XY)
      CALL FGLCOLORPOINTER(3, GL_FLOAT, 0, RGB)
      CALL FGLENABLECLIENTSTATE(GL_VERTEX_ARRAY)
      CALL FGLENABLECLIENTSTATE(GL_COLOR_ARRAY)

      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWARRAYS(GL_TRIANGLES, 0, 12)
      CALL CHECK('fglDrawArrays', NDIFF(REF), 0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWELEMENTS(GL_TRIANGLES, 12, GL_UNSIGNED_INT, IDX4)
      CALL CHECK('INTEGER*4 indices', NDIFF(REF), 0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWELEMENTS(GL_TRIANGLES, 12, GL_UNSIGNED_SHORT, IDX2)
      CALL CHECK('INTEGER*2 indices', NDIFF(REF), 0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWELEMENTS(GL_TRIANGLES, 12, GL_UNSIGNED_BYTE, IDX1)
      CALL CHECK('INTEGER*1 indices', NDIFF(REF), 0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWELEMENTSI4(GL_TRIANGLES, 12, GL_UNSIGNED_BYTE, IDX4)
      CALL CHECK('fglDrawElementsI4, bytes', NDIFF(REF), 0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLDRAWRANGEELEMENTSI4(GL_TRIANGLES, 0, 11, 12,
     &                            GL_UNSIGNED_SHORT, IDX4)
      CALL CHECK('fglDrawRangeElementsI4, shorts', NDIFF(REF), 0)

C     The address OpenGL keeps, in 8 bytes: the second column of XY
C     lies 8 bytes after the first. The different starting values
C     show a write of fewer than 8 bytes.
      ADDR1 = -1
      ADDR2 = 0
      CALL FGLGETPOINTERV(GL_VERTEX_ARRAY_POINTER, ADDR1)
      CALL FGLVERTEXPOINTER(2, GL_FLOAT, 0, XY(1, 2))
      CALL FGLGETPOINTERV(GL_VERTEX_ARRAY_POINTER, ADDR2)
      CALL CHECK('address step of one vertex', INT(ADDR2 - ADDR1), 8)

      CALL FGLDISABLECLIENTSTATE(GL_VERTEX_ARRAY)
      CALL FGLDISABLECLIENTSTATE(GL_COLOR_ARRAY)
      END

C     The number of values of the window's picture that differ from REF.
      INTEGER*4 FUNCTION NDIFF(REF)
      INCLUDE 'fgl.inc'
      INTEGER*4 REF(12288), PIC(12288), I
      CALL FGLREADPIXELSI4(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE,
     &                     PIC, 12288)
      NDIFF = 0
      DO 10 I = 1, 12288
         IF (PIC(I) .NE. REF(I)) NDIFF = NDIFF + 1
   10 CONTINUE
      END
