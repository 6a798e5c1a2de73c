C     narrow.f: narrow integer storage and packed character arrays
C     through the fgl entries, checked by the program itself.
C
C     Fortran programs keep integer data in INTEGER*1, INTEGER*2 and
C     INTEGER*4 arrays and text in packed character arrays (one
C     character per INTEGER*4 word). This program hands such storage to
C     the I1, I2, I4 and P entries, reads it back, and compares what
C     comes back with what OpenGL must have seen: pixel round trips in
C     every storage, bitmaps, a pixel map, vectors of narrow components,
C     edge flags, a polygon stipple, a texture image, display lists
C     called by packed and integer names, boolean
C     state in INTEGER*4, the version string through fglGetString and
C     fglGetStringCopy, and fglGetError after deliberate errors.
C
C     It prints one MISMATCH line per failed comparison, then
C     "CHECKS n FAILURES m", and ends with CALL EXIT(m): status 0 only
C     when every comparison held. (STOP 1 would not do: the f2c
C     runtime's STOP always ends with status 0.)
C
C     Build:  gfortran -std=legacy narrow.f -lfglut -lfgl
C        or:  f2c narrow.f && cc narrow.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM NARROW
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DISPLAY
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGBA + GLUT_SINGLE)
      CALL FGLUTINITWINDOWPOSITION(20, 20)
      CALL FGLUTINITWINDOWSIZE(64, 64)
      IWIN = FGLUTCREATEWINDOWC('Fortran narrow storage')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTMAINLOOP
      END

C     All checks run in the first repaint, when the window is shown and
C     its context is current; then the program ends.
      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      INTEGER*4 NFAIL, NCHECK
      COMMON /TALLY/ NFAIL, NCHECK
      INTEGER*4 FGLGETERROR, I
      CALL FGLVIEWPORT(0, 0, 64, 64)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(0.0D0, 64.0D0, 0.0D0, 64.0D0, -1.0D0, 1.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      CALL FGLCLEARCOLOR(0.0, 0.0, 0.0, 0.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
      CALL FGLPIXELSTOREI(GL_UNPACK_ALIGNMENT, 1)
      CALL FGLPIXELSTOREI(GL_PACK_ALIGNMENT, 1)
      DO 10 I = 1, 10
         IF (FGLGETERROR() .EQ. GL_NO_ERROR) GO TO 20
   10 CONTINUE
   20 CONTINUE
      CALL ERRORS
      CALL PIXELS
      CALL BITMAP
      CALL PIXMAP
      CALL VECTRS
      CALL STIPPL
      CALL TEXIMG
      CALL LISTS
      CALL STRNGS
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

C     fglGetError reports each deliberate error once, then no error.
      SUBROUTINE ERRORS
      INCLUDE 'fgl.inc'
      INTEGER*4 FGLGETERROR
      CALL FGLENABLE(1)
      CALL CHECK('error of fglEnable(1)', FGLGETERROR(),
     &           GL_INVALID_ENUM)
      CALL CHECK('error flag cleared', FGLGETERROR(), GL_NO_ERROR)
      CALL FGLPIXELSTOREI(GL_PACK_ALIGNMENT, 3)
      CALL CHECK('error of alignment 3', FGLGETERROR(),
     &           GL_INVALID_VALUE)
      CALL CHECK('error flag cleared', FGLGETERROR(), GL_NO_ERROR)
      END

C     Pixel round trips: 2x2 RGB images drawn from INTEGER*1, INTEGER*2,
C     INTEGER*4 and packed storage, read back into each storage.
      SUBROUTINE PIXELS
      INCLUDE 'fgl.inc'
      INTEGER*1 IMG1(12)
      INTEGER*2 IMG2(12), BACK2(12)
      INTEGER*4 IMG4(12), IMGP(12), BACK4(12), BACKP(12), U(12), I
      DATA IMG1 / 10, 20, 30, -56, 100, 50, 0, -1, 7, -128, 64, 1 /
C     Wider storage holds the same bytes in its low 8 bits (I-th byte
C     plus 256 * I); the other bits are dropped on the way to OpenGL.
      DATA IMG2 / 266, 532, 798, 1224, 1380, 1586, 1792, 2303, 2311,
     &            2688, 2880, 3073 /
C     The unsigned bytes that OpenGL sees.
      DO 10 I = 1, 12
         U(I) = IAND(INT(IMG1(I)), 255)
         CALL CHECK('INTEGER*2 low byte', IAND(INT(IMG2(I)), 255), U(I))
         IMG4(I) = U(I) + 65536 * I - 512
         IMGP(I) = U(I) + 256 * (I + 1)
   10 CONTINUE
C     INTEGER*1: the I1 entry passes the bytes through.
      CALL FGLRASTERPOS2I(4, 4)
      CALL FGLDRAWPIXELSI1(2, 2, GL_RGB, GL_UNSIGNED_BYTE, IMG1)
      CALL FGLREADPIXELSI4(4, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                     BACK4, 12)
      DO 20 I = 1, 12
         CALL CHECK('INTEGER*1 drawn, I4 read', BACK4(I), U(I))
   20 CONTINUE
      CALL FGLREADPIXELSI2(4, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                     BACK2, 12)
      DO 30 I = 1, 12
         CALL CHECK('INTEGER*1 drawn, I2 read', INT(BACK2(I)), U(I))
   30 CONTINUE
      CALL FGLREADPIXELSP(4, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                    BACKP, 12)
      DO 40 I = 1, 12
         CALL CHECK('INTEGER*1 drawn, P read', IAND(BACKP(I), 255),
     &              U(I))
   40 CONTINUE
C     16-bit read-backs: a byte b reads back as b * 257; INTEGER*4
C     elements are zero-extended, INTEGER*2 ones receive the bits.
      CALL FGLREADPIXELSI4(4, 4, 2, 2, GL_RGB, GL_UNSIGNED_SHORT,
     &                     BACK4, 12)
      CALL FGLREADPIXELSI2(4, 4, 2, 2, GL_RGB, GL_UNSIGNED_SHORT,
     &                     BACK2, 12)
      DO 50 I = 1, 12
         CALL CHECK('unsigned short, I4 read', BACK4(I), U(I) * 257)
         CALL CHECK('unsigned short, I2 read',
     &              IAND(INT(BACK2(I)), 65535), U(I) * 257)
   50 CONTINUE
C     INTEGER*2, INTEGER*4 and packed storage drawn, INTEGER*4 read.
      CALL FGLRASTERPOS2I(8, 4)
      CALL FGLDRAWPIXELSI2(2, 2, GL_RGB, GL_UNSIGNED_BYTE, IMG2, 12)
      CALL FGLRASTERPOS2I(12, 4)
      CALL FGLDRAWPIXELSI4(2, 2, GL_RGB, GL_UNSIGNED_BYTE, IMG4, 12)
      CALL FGLRASTERPOS2I(16, 4)
      CALL FGLDRAWPIXELSP(2, 2, GL_RGB, GL_UNSIGNED_BYTE, IMGP, 12)
      CALL FGLREADPIXELSI4(8, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                     BACK4, 12)
      DO 60 I = 1, 12
         CALL CHECK('INTEGER*2 drawn', BACK4(I), U(I))
   60 CONTINUE
      CALL FGLREADPIXELSI4(12, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                     BACK4, 12)
      DO 70 I = 1, 12
         CALL CHECK('INTEGER*4 drawn', BACK4(I), U(I))
   70 CONTINUE
      CALL FGLREADPIXELSI4(16, 4, 2, 2, GL_RGB, GL_UNSIGNED_BYTE,
     &                     BACK4, 12)
      DO 80 I = 1, 12
         CALL CHECK('packed drawn', BACK4(I), U(I))
   80 CONTINUE
      END

C     An 8x2 bitmap from INTEGER*4 and from INTEGER*2 elements (rows of
C     one byte, low byte used): drawn in white, read back as red values.
      SUBROUTINE BITMAP
      INCLUDE 'fgl.inc'
      INTEGER*4 BITS4(2), BACK4(16), I, J
      INTEGER*2 BITS2(2)
      DATA BITS4 / 421, 768 /
      DATA BITS2 / 421, 768 /
      CALL FGLCOLOR3F(1.0, 1.0, 1.0)
      CALL FGLRASTERPOS2I(20, 10)
      CALL FGLBITMAPI4(8, 2, 0.0, 0.0, 0.0, 0.0, BITS4, 2)
      CALL FGLRASTERPOS2I(20, 20)
      CALL FGLBITMAPI2(8, 2, 0.0, 0.0, 0.0, 0.0, BITS2, 2)
C     Row 1 is 421 = 256 + 165, byte 10100101; row 2 is 768, byte 0.
      DO 20 J = 10, 20, 10
         CALL FGLREADPIXELSI4(20, J, 8, 2, GL_RED, GL_UNSIGNED_BYTE,
     &                        BACK4, 16)
         DO 10 I = 1, 8
            CALL CHECK('bitmap row 1', BACK4(I),
     &                 255 * MOD(165 / 2 ** (8 - I), 2))
            CALL CHECK('bitmap row 2', BACK4(8 + I), 0)
   10    CONTINUE
   20 CONTINUE
      END

C     A pixel map of 16-bit values from INTEGER*4 elements, read back.
      SUBROUTINE PIXMAP
      INCLUDE 'fgl.inc'
      INTEGER*4 MAP(4), BACK4(4), WANT(4), I
      DATA MAP / 131071, 0, 32768, 65537 /
      DATA WANT / 65535, 0, 32768, 1 /
      CALL FGLPIXELMAPUSVI4(GL_PIXEL_MAP_I_TO_R, 4, MAP)
      CALL FGLGETPIXELMAPUSVI4(GL_PIXEL_MAP_I_TO_R, BACK4)
      DO 10 I = 1, 4
         CALL CHECK('pixel map', BACK4(I), WANT(I))
   10 CONTINUE
      END

C     Vectors and scalars of byte components in narrow storage; the
C     current colour read back as REALs, and boolean state as INTEGER*4.
      SUBROUTINE VECTRS
      INCLUDE 'fgl.inc'
      INTEGER*1 C1(3), R1, G1, B1
      INTEGER*2 C2(3), R2, G2, B2
      INTEGER*4 C4(4), B4(4), FGLISENABLEDI4, F1(2), F2(2)
      DATA F1 / 256, 1 /
      DATA F2 / 257, 0 /
      DATA C1 / -56, 0, 100 /
      DATA C2 / 300, -1, 65 /
      DATA C4 / 266, 20, 30, -1 /
      DATA R1, G1, B1 / 1, 2, 3 /
      DATA R2, G2, B2 / 511, 0, 128 /
      CALL FGLCOLOR3UBV(C1)
      CALL CHKCOL('fglColor3ubv, INTEGER*1', 200, 0, 100, 255)
      CALL FGLCOLOR3UBVI2(C2)
      CALL CHKCOL('fglColor3ubvI2', 44, 255, 65, 255)
      CALL FGLCOLOR4UBVI4(C4)
      CALL CHKCOL('fglColor4ubvI4', 10, 20, 30, 255)
      CALL FGLCOLOR3UB(R1, G1, B1)
      CALL CHKCOL('fglColor3ub, INTEGER*1', 1, 2, 3, 255)
      CALL FGLCOLOR3UBI2(R2, G2, B2)
      CALL CHKCOL('fglColor3ubI2', 255, 0, 128, 255)
C     A 4-byte boolean 256 has a zero low byte: false.
      CALL FGLCOLORMASKI4(1, 0, 1, 256)
      CALL FGLGETBOOLEANVI4(GL_COLOR_WRITEMASK, B4, 4)
      CALL CHECK('write mask red', B4(1), 1)
      CALL CHECK('write mask green', B4(2), 0)
      CALL CHECK('write mask blue', B4(3), 1)
      CALL CHECK('write mask alpha', B4(4), 0)
      CALL FGLCOLORMASKI4(1, 1, 1, 1)
C     Edge flags from INTEGER*4 elements: only the first one's low byte.
C     (Mesa reads a flag back as true only if it was exactly 1.)
      CALL FGLEDGEFLAGVI4(F1, 2)
      CALL FGLGETBOOLEANVI4(GL_EDGE_FLAG, B4, 1)
      CALL CHECK('edge flag 256', B4(1), 0)
      CALL FGLEDGEFLAGVI4(F2, 2)
      CALL FGLGETBOOLEANVI4(GL_EDGE_FLAG, B4, 1)
      CALL CHECK('edge flag 257', B4(1), 1)
      CALL CHECK('blend off', FGLISENABLEDI4(GL_BLEND), 0)
      CALL FGLENABLE(GL_BLEND)
      CALL CHECK('blend on', FGLISENABLEDI4(GL_BLEND), 1)
      CALL FGLDISABLE(GL_BLEND)
      END

C     The current colour, in units of 1/255, must be (R, G, B, A).
      SUBROUTINE CHKCOL(WHAT, R, G, B, A)
      CHARACTER*(*) WHAT
      INTEGER*4 R, G, B, A
      INCLUDE 'fgl.inc'
      REAL*4 C(4)
      CALL FGLGETFLOATV(GL_CURRENT_COLOR, C)
      CALL CHECK(WHAT, NINT(C(1) * 255.0), R)
      CALL CHECK(WHAT, NINT(C(2) * 255.0), G)
      CALL CHECK(WHAT, NINT(C(3) * 255.0), B)
      CALL CHECK(WHAT, NINT(C(4) * 255.0), A)
      END

C     A polygon stipple from INTEGER*2 elements comes back, byte by
C     byte, into INTEGER*4 and INTEGER*2 elements.
      SUBROUTINE STIPPL
      INTEGER*2 MASK2(128), BACK2(128), J, K3, K256
      INTEGER*4 BACK4(128), I
      DATA K3, K256 / 3, 256 /
      DO 10 J = 1, 128
         MASK2(J) = K256 + K3 * J
   10 CONTINUE
      CALL FGLPOLYGONSTIPPLEI2(MASK2)
      CALL FGLGETPOLYGONSTIPPLEI4(BACK4, 128)
      CALL FGLGETPOLYGONSTIPPLEI2(BACK2, 128)
      DO 20 I = 1, 128
         CALL CHECK('stipple, I4 read', BACK4(I), MOD(3 * I, 256))
         CALL CHECK('stipple, I2 read', INT(BACK2(I)), MOD(3 * I, 256))
   20 CONTINUE
      END

C     A 2x2 luminance texture from INTEGER*2 elements, read back into
C     INTEGER*4 elements and into a packed array.
      SUBROUTINE TEXIMG
      INCLUDE 'fgl.inc'
      INTEGER*2 TEX2(4)
      INTEGER*4 BACK4(4), BACKP(4), I, WANT(4)
      DATA TEX2 / 257, 2, 515, 511 /
      DATA WANT / 1, 2, 3, 255 /
      CALL FGLTEXIMAGE2DI2(GL_TEXTURE_2D, 0, 1, 2, 2, 0, GL_LUMINANCE,
     &                     GL_UNSIGNED_BYTE, TEX2, 4)
      CALL FGLGETTEXIMAGEI4(GL_TEXTURE_2D, 0, GL_LUMINANCE,
     &                      GL_UNSIGNED_BYTE, BACK4, 4)
      CALL FGLGETTEXIMAGEP(GL_TEXTURE_2D, 0, GL_LUMINANCE,
     &                     GL_UNSIGNED_BYTE, BACKP, 4)
      DO 10 I = 1, 4
         CALL CHECK('texture, I4 read', BACK4(I), WANT(I))
         CALL CHECK('texture, P read', IAND(BACKP(I), 255), WANT(I))
   10 CONTINUE
      END

C     Display lists called by names in packed, INTEGER*1, INTEGER*2 and
C     INTEGER*4 storage. List BASE+k moves the raster position k pixels
C     to the right, so the distance moved is the sum of the names.
      SUBROUTINE LISTS
      INCLUDE 'fgl.inc'
      INTEGER*4 FGLGENLISTS, BASE, I, WORDS(2), N4(2), TWO(2)
      INTEGER*1 N1(2), NOBITS(1)
      INTEGER*2 N2(3)
      REAL*4 STEP
      DATA N1 / 10, 20 /
      DATA N2 / 3, 5, 300 /
      DATA N4 / 65537, 2 /
      DATA TWO / 256, 7 /
      BASE = FGLGENLISTS(256)
      CALL CHECK('lists allocated', MIN(BASE, 1), 1)
      DO 10 I = 0, 255
         STEP = REAL(I)
         CALL FGLNEWLIST(BASE + I, GL_COMPILE)
         CALL FGLBITMAP(0, 0, 0.0, 0.0, STEP, 0.0, NOBITS)
         CALL FGLENDLIST
   10 CONTINUE
      CALL FGLLISTBASE(BASE)
C     'H' and 'i' as a packed array; the upper bits of a word are not
C     part of the character.
      WORDS(1) = ICHAR('H') + 256
      WORDS(2) = ICHAR('i') + 512
      CALL FGLRASTERPOS2I(1, 1)
      CALL FGLCALLLISTSP(2, GL_UNSIGNED_BYTE, WORDS, 2)
      CALL CHKRAS('lists by packed names', 1 + 72 + 105)
      CALL FGLRASTERPOS2I(1, 1)
      CALL FGLCALLLISTSI1(2, GL_UNSIGNED_BYTE, N1)
      CALL CHKRAS('lists by INTEGER*1 names', 1 + 10 + 20)
      CALL FGLRASTERPOS2I(1, 1)
      CALL FGLCALLLISTSI2(3, GL_UNSIGNED_BYTE, N2)
      CALL CHKRAS('lists by INTEGER*2 names', 1 + 3 + 5 + 44)
      CALL FGLRASTERPOS2I(1, 1)
      CALL FGLCALLLISTSI4(2, GL_UNSIGNED_SHORT, N4)
      CALL CHKRAS('lists by INTEGER*4 names', 1 + 1 + 2)
C     GL_2_BYTES: one name from two elements, high byte first: 0, 7.
      CALL FGLRASTERPOS2I(1, 1)
      CALL FGLCALLLISTSI4(1, GL_2_BYTES, TWO)
      CALL CHKRAS('list by two INTEGER*4 bytes', 1 + 7)
      CALL FGLDELETELISTS(BASE, 256)
      END

C     The current raster position must be at x = X.
      SUBROUTINE CHKRAS(WHAT, X)
      CHARACTER*(*) WHAT
      INTEGER*4 X
      INCLUDE 'fgl.inc'
      REAL*4 POS(4)
      CALL FGLGETFLOATV(GL_CURRENT_RASTER_POSITION, POS)
      CALL CHECK(WHAT, NINT(POS(1)), X)
      END

C     OpenGL's version string as a packed array and as CHARACTER text,
C     and no string for a name that is not one.
      SUBROUTINE STRNGS
      INCLUDE 'fgl.inc'
      INTEGER*4 FGLGETSTRING, FGLGETERROR, N, N2, I, IDOT, WORDS(200)
      INTEGER*4 AGAIN(200), DIGITS, FGLGETSTRINGC, FIRST(4), NC, SAME
      CHARACTER*200 TEXT, CTEXT
      CHARACTER*3 SHORT
      N = FGLGETSTRING(GL_VERSION)
      CALL CHECK('version length within 1..200', MIN(MAX(N, 0), 201),
     &           MIN(MAX(N, 1), 200))
      N = MIN(MAX(N, 0), 200)
      CALL FGLGETSTRINGCOPY(WORDS)
C     A second copy delivers the same words.
      CALL FGLGETSTRINGCOPY(AGAIN)
C     At most 3 words: the fourth element keeps its value.
      DO 5 I = 1, 4
         FIRST(I) = -7
    5 CONTINUE
      CALL FGLGETSTRINGCOPYN(FIRST, 3)
      CALL CHECK('fglGetStringCopyN word 3', FIRST(3), WORDS(3))
      CALL CHECK('fglGetStringCopyN word 4 untouched', FIRST(4), -7)
      CALL FGLGETSTRINGRELEASE
      TEXT = ' '
      IDOT = 0
      DO 10 I = 1, N
         TEXT(I:I) = CHAR(IAND(WORDS(I), 255))
         IF (TEXT(I:I) .EQ. '.' .AND. IDOT .EQ. 0) IDOT = I
         CALL CHECK('second copy', AGAIN(I), WORDS(I))
   10 CONTINUE
      WRITE (*, 100) TEXT(1:N)
C     The same text into CHARACTER variables: blank-padded when long,
C     truncated when short, the whole length returned either way.
      NC = FGLGETSTRINGC(GL_VERSION, CTEXT)
      CALL CHECK('fglGetStringC length', NC, N)
      SAME = 0
      IF (CTEXT .EQ. TEXT) SAME = 1
      CALL CHECK('fglGetStringC text', SAME, 1)
      NC = FGLGETSTRINGC(GL_VERSION, SHORT)
      CALL CHECK('fglGetStringC length when short', NC, N)
      SAME = 0
      IF (SHORT .EQ. TEXT(1:3)) SAME = 1
      CALL CHECK('fglGetStringC truncated text', SAME, 1)
C     "major.minor...": a digit, then a full stop.
      DIGITS = 0
      IF (LGE(TEXT(1:1), '1') .AND. LLE(TEXT(1:1), '9')) DIGITS = 1
      CALL CHECK('version starts with a digit', DIGITS, 1)
      CALL CHECK('version has a full stop after it', IDOT, 2)
C     A release twice in a row is harmless.
      CALL FGLGETSTRINGRELEASE
      N2 = FGLGETSTRING(1)
      CALL CHECK('no string for name 1', N2, 0)
      CTEXT = 'x'
      CALL CHECK('no CHARACTER string for name 1',
     &           FGLGETSTRINGC(1, CTEXT), 0)
      SAME = 0
      IF (CTEXT .EQ. ' ') SAME = 1
      CALL CHECK('all blanks for name 1', SAME, 1)
      CALL CHECK('error of fglGetString(1)', FGLGETERROR(),
     &           GL_INVALID_ENUM)
      CALL FGLGETSTRINGRELEASE
  100 FORMAT ('VERSION ', A)
      END
