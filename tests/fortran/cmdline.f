C     cmdline.f: hands GLUT the program's real command line, so that GLUT
C     reads its own options (-geometry, -display, ...) and its messages
C     name the program, and lists what GLUT left for the program to parse.
      PROGRAM CMDLN
      INCLUDE 'fglut.inc'
      INTEGER*4 MAXA, MAXW
      PARAMETER (MAXA = 64, MAXW = 4096)
      INTEGER*4 WORDS(MAXW), STARTS(MAXA + 1), N, I, J, K, L
      INTEGER*4 IWIN, FGLUTCREATEWINDOWC, FGLUTGET
      CHARACTER*256 ARG
C     Argument 0 is the program's name, as C's argv[0]. STARTS(I) is the
C     word where argument I begins; STARTS(N+1) is one past the last.
      N = MIN(IARGC() + 1, MAXA)
      K = 1
      DO 20 I = 1, N
         CALL GETARG(I - 1, ARG)
         L = LEN(ARG)
    5    IF (L .GT. 0) THEN
            IF (ARG(L:L) .EQ. ' ') THEN
               L = L - 1
               GOTO 5
            END IF
         END IF
         STARTS(I) = K
         DO 10 J = 1, MIN(L, MAXW - K + 1)
            WORDS(K) = ICHAR(ARG(J:J))
            K = K + 1
   10    CONTINUE
   20 CONTINUE
      STARTS(N + 1) = K
C     GLUT takes its options out; N, WORDS and STARTS then hold the rest.
      CALL FGLUTINITARGSREST(N, WORDS, STARTS)
      DO 40 I = 2, N
         L = 0
         DO 30 J = STARTS(I), STARTS(I + 1) - 1
            L = L + 1
            ARG(L:L) = CHAR(WORDS(J))
   30    CONTINUE
         WRITE(*, '(A, A)') 'LEFT ', ARG(1:L)
   40 CONTINUE
      IWIN = FGLUTCREATEWINDOWC('cmdline')
      WRITE(*, '(A, 2I6)') 'SIZE', FGLUTGET(GLUT_WINDOW_WIDTH),
     &   FGLUTGET(GLUT_WINDOW_HEIGHT)
      CALL EXIT(0)
      END
