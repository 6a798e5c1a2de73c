C     interact.f: a Fortran 77 program that answers keyboard, mouse,
C     menu, timer and idle events and draws GLUT's shapes and text.
C
C     The window "Fortran interaction" shows a red solid sphere (upper
C     left), a blue wire cube (upper right), a green solid torus (lower
C     right), the word "Fortran" in bitmap letters and "77" in magenta
C     stroke letters (lower left). Each event prints one line:
C        RESHAPE w h g      window size, and fglutGet's width
C        FONTS a b c        9 and 40 (bitmap widths), 105 (stroke)
C        FONT code length   for each of the nine font codes, the length
C                           of "Fortran GLUT 77" in that font
C        DRAWN n            after the n-th repaint
C        KEY k x y          key code 0..255 and pointer position
C        SPECIAL k x y      special key (GLUT_KEY_F1 ...)
C        MOUSE b s x y      button, GLUT_DOWN or GLUT_UP, position
C        MENU v             menu choice (right button): 7 turns the
C                           sphere yellow, 9 ends the program
C        TIMERA 42, TIMERB 43   two timers, each with its own routine
C        IDLE 3             the idle routine, which then unregisters
C
C     Build:  gfortran -std=legacy interact.f -lfglut -lfgl
C        or:  flang-new-16 interact.f -lfglut -lfgl
C             -L/usr/lib/llvm-16/lib   (Flang's own runtime)
C        or:  f2c interact.f && cc interact.c -lfglut -lfgl -lf2c -lm
C
      PROGRAM INTERACT
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, FGLUTCREATEMENU
      INTEGER*4 FGLUTBITMAPWIDTH, FGLUTBITMAPLENGTHC, FGLUTSTROKEWIDTH
      INTEGER*4 FGLUTSTROKELENGTHC, FONTS(9), I
      EXTERNAL DISPLAY, RESHAPE, KEYBRD, SPECKY, MOUSE, ONMENU
      EXTERNAL TIMERA, TIMERB, IDLE
      REAL*4 SPHERE(3)
      INTEGER*4 NDRAWN, NIDLE
      COMMON /STATE/ SPHERE, NDRAWN, NIDLE
      INTEGER*4 IWIN, MENU, IW9, IL8, ISW
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
      CALL FGLUTINITWINDOWSIZE(300, 300)
C     Titles, labels and strings to measure are CHARACTER text, passed
C     to the C entries exactly as long as it is.
      IWIN = FGLUTCREATEWINDOWC('Fortran interaction')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTRESHAPEFUNC(RESHAPE)
      CALL FGLUTKEYBOARDFUNC(KEYBRD)
      CALL FGLUTSPECIALFUNC(SPECKY)
      CALL FGLUTMOUSEFUNC(MOUSE)
      MENU = FGLUTCREATEMENU(ONMENU)
      CALL FGLUTADDMENUENTRYC('Yellow sphere', 7)
      CALL FGLUTADDMENUENTRYC('Quit', 9)
      CALL FGLUTATTACHMENU(GLUT_RIGHT_BUTTON)
      CALL FGLUTTIMERFUNC(50, TIMERA, 42)
      CALL FGLUTTIMERFUNC(80, TIMERB, 43)
      CALL FGLUTIDLEFUNC(IDLE)
C     Font metrics through font codes: every 9x15 glyph is 9 pixels
C     wide, five 8x13 glyphs are 40, a mono roman stroke glyph 105.
      IW9 = FGLUTBITMAPWIDTH(GLUT_BITMAP_9_BY_15, ICHAR('M'))
      IL8 = FGLUTBITMAPLENGTHC(GLUT_BITMAP_8_BY_13, 'Hello')
      ISW = FGLUTSTROKEWIDTH(GLUT_STROKE_MONO_ROMAN, ICHAR('M'))
      WRITE (*, 100) 'FONTS', IW9, IL8, ISW
C     Every font code by its name: two stroke fonts, seven bitmap fonts.
      FONTS(1) = GLUT_STROKE_ROMAN
      FONTS(2) = GLUT_STROKE_MONO_ROMAN
      FONTS(3) = GLUT_BITMAP_9_BY_15
      FONTS(4) = GLUT_BITMAP_8_BY_13
      FONTS(5) = GLUT_BITMAP_TIMES_ROMAN_10
      FONTS(6) = GLUT_BITMAP_TIMES_ROMAN_24
      FONTS(7) = GLUT_BITMAP_HELVETICA_10
      FONTS(8) = GLUT_BITMAP_HELVETICA_12
      FONTS(9) = GLUT_BITMAP_HELVETICA_18
      DO 10 I = 1, 2
         WRITE (*, 110) 'FONT', FONTS(I),
     &                  FGLUTSTROKELENGTHC(FONTS(I), 'Fortran GLUT 77')
   10 CONTINUE
      DO 20 I = 3, 9
         WRITE (*, 110) 'FONT', FONTS(I),
     &                  FGLUTBITMAPLENGTHC(FONTS(I), 'Fortran GLUT 77')
   20 CONTINUE
      CALL FLUSH(6)
      CALL FGLUTMAINLOOP
  100 FORMAT (A, 3I6)
  110 FORMAT (A, 2I6)
      END

      BLOCK DATA STATED
      REAL*4 SPHERE(3)
      INTEGER*4 NDRAWN, NIDLE
      COMMON /STATE/ SPHERE, NDRAWN, NIDLE
      DATA SPHERE / 1.0, 0.0, 0.0 /
      DATA NDRAWN, NIDLE / 0, 0 /
      END

      SUBROUTINE RESHAPE(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTGET
      CALL FGLVIEWPORT(0, 0, W, H)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLORTHO(-1.0D0, 1.0D0, -1.0D0, 1.0D0, -1.0D0, 1.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      WRITE (*, 100) 'RESHAPE', W, H, FGLUTGET(GLUT_WINDOW_WIDTH)
      CALL FLUSH(6)
  100 FORMAT (A, 3I6)
      END

      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      REAL*4 SPHERE(3)
      INTEGER*4 NDRAWN, NIDLE
      COMMON /STATE/ SPHERE, NDRAWN, NIDLE
      CHARACTER*7 WORD
      INTEGER*4 I
      WORD = 'Fortran'
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT)
C     Solid sphere, upper left.
      CALL FGLCOLOR3F(SPHERE(1), SPHERE(2), SPHERE(3))
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(-0.5, 0.5, 0.0)
      CALL FGLUTSOLIDSPHERE(0.3D0, 24, 12)
      CALL FGLPOPMATRIX
C     Wire cube, upper right.
      CALL FGLCOLOR3F(0.0, 0.0, 1.0)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(0.5, 0.5, 0.0)
      CALL FGLROTATEF(20.0, 1.0, 1.0, 0.0)
      CALL FGLUTWIRECUBE(0.5D0)
      CALL FGLPOPMATRIX
C     Solid torus, lower right.
      CALL FGLCOLOR3F(0.0, 1.0, 0.0)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(0.5, -0.5, 0.0)
      CALL FGLUTSOLIDTORUS(0.08D0, 0.25D0, 12, 24)
      CALL FGLPOPMATRIX
C     Bitmap text, font code GLUT_BITMAP_9_BY_15.
      CALL FGLCOLOR3F(0.0, 0.0, 0.0)
      CALL FGLRASTERPOS2F(-0.95, -0.3)
      DO 10 I = 1, 7
         CALL FGLUTBITMAPCHARACTER(GLUT_BITMAP_9_BY_15,
     &                             ICHAR(WORD(I:I)))
   10 CONTINUE
C     Stroke text, font code GLUT_STROKE_ROMAN, drawn with wide lines.
      CALL FGLCOLOR3F(1.0, 0.0, 1.0)
      CALL FGLLINEWIDTH(3.0)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(-0.9, -0.9, 0.0)
      CALL FGLSCALEF(0.003, 0.003, 0.003)
      CALL FGLUTSTROKECHARACTER(GLUT_STROKE_ROMAN, ICHAR('7'))
      CALL FGLUTSTROKECHARACTER(GLUT_STROKE_ROMAN, ICHAR('7'))
      CALL FGLPOPMATRIX
      CALL FGLLINEWIDTH(1.0)
      CALL FGLFLUSH
      NDRAWN = NDRAWN + 1
      WRITE (*, 100) 'DRAWN', NDRAWN
      CALL FLUSH(6)
  100 FORMAT (A, I6)
      END

C     The key arrives as an INTEGER*4 from 0 to 255.
      SUBROUTINE KEYBRD(KEY, X, Y)
      INTEGER*4 KEY, X, Y
      WRITE (*, 100) 'KEY', KEY, X, Y
      CALL FLUSH(6)
  100 FORMAT (A, 3I6)
      END

      SUBROUTINE SPECKY(KEY, X, Y)
      INTEGER*4 KEY, X, Y
      WRITE (*, 100) 'SPECIAL', KEY, X, Y
      CALL FLUSH(6)
  100 FORMAT (A, 3I6)
      END

      SUBROUTINE MOUSE(BUTTON, STATE, X, Y)
      INTEGER*4 BUTTON, STATE, X, Y
      WRITE (*, 100) 'MOUSE', BUTTON, STATE, X, Y
      CALL FLUSH(6)
  100 FORMAT (A, 4I6)
      END

      SUBROUTINE ONMENU(VALUE)
      INTEGER*4 VALUE
      REAL*4 SPHERE(3)
      INTEGER*4 NDRAWN, NIDLE
      COMMON /STATE/ SPHERE, NDRAWN, NIDLE
      WRITE (*, 100) 'MENU', VALUE
      CALL FLUSH(6)
      IF (VALUE .EQ. 7) THEN
         SPHERE(1) = 1.0
         SPHERE(2) = 1.0
         SPHERE(3) = 0.0
         CALL FGLUTPOSTREDISPLAY
      ELSE IF (VALUE .EQ. 9) THEN
         CALL EXIT(0)
      END IF
  100 FORMAT (A, I6)
      END

      SUBROUTINE TIMERA(VALUE)
      INTEGER*4 VALUE
      WRITE (*, 100) 'TIMERA', VALUE
      CALL FLUSH(6)
  100 FORMAT (A, I6)
      END

      SUBROUTINE TIMERB(VALUE)
      INTEGER*4 VALUE
      WRITE (*, 100) 'TIMERB', VALUE
      CALL FLUSH(6)
  100 FORMAT (A, I6)
      END

C     Counts its calls; after the third it unregisters itself.
      SUBROUTINE IDLE
      REAL*4 SPHERE(3)
      INTEGER*4 NDRAWN, NIDLE
      COMMON /STATE/ SPHERE, NDRAWN, NIDLE
      NIDLE = NIDLE + 1
      IF (NIDLE .EQ. 3) THEN
         WRITE (*, 100) 'IDLE', NIDLE
         CALL FLUSH(6)
         CALL FGLUTIDLEFUNCNULL
      END IF
  100 FORMAT (A, I6)
      END
