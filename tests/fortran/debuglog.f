C     debuglog.f: the INTEGER*4 word, the Null entry and the message log
C     of the debug entries, checked by the program itself. It prints one
C     MISMATCH line per failed comparison and ends with CALL EXIT(m),
C     m the number of failures.
      PROGRAM DBGLOG
      INCLUDE 'fgl.inc'
      INCLUDE 'fglut.inc'
      INCLUDE 'fglutx.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN, FGLGETDEBUGMESSAGELOGC
      INTEGER*4 NFAIL
      COMMON /TALLY/ NFAIL
      INTEGER*4 NCALL, LSRC, LTYP, LID, LSEV, LLEN, LWORD
      COMMON /SEEN/ NCALL, LSRC, LTYP, LID, LSEV, LLEN, LWORD
      CHARACTER*80 LTEXT
      COMMON /SEENT/ LTEXT
C     Element 3 of each array is a guard that no call may change.
      INTEGER*4 SRC(3), TYP(3), IDS(3), SEV(3), LENS(3)
      CHARACTER*8 MSGS(3)
      COMMON /LOG/ SRC, TYP, IDS, SEV, LENS
      COMMON /LOGT/ MSGS
      INTEGER*4 N, I, WORD
      EXTERNAL SEEN4
      NFAIL = 0
      NCALL = 0
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE)
      CALL FGLUTINITCONTEXTVERSION(3, 0)
      CALL FGLUTINITCONTEXTFLAGS(GLUT_DEBUG)
      IWIN = FGLUTCREATEWINDOWC('Fortran debug log')
C     The routine receives a copy of the word given at registration.
      WORD = 7
      CALL FGLDEBUGMESSAGECALLBACKI4(SEEN4, WORD)
      WORD = 8
      CALL FGLBINDTEXTURE(GL_FLOAT, 1)
      CALL CHECK('messages to the routine', NCALL, 1)
      CALL CHECK('word', LWORD, 7)
      CALL CHECK('length', LLEN, INDEX(LTEXT, ']') - 2)
      CALL CHECK('NUL in text', INDEX(LTEXT, CHAR(0)), 0)
C     Without the routine, messages go to the log.
      CALL FGLDEBUGMESSAGECALLBACKNULL
      CALL FGLBINDTEXTURE(GL_FLOAT, 1)
      CALL FGLBINDTEXTURE(GL_FLOAT, 2)
      CALL FGLBINDTEXTURE(GL_FLOAT, 3)
      CALL CHECK('messages after Null', NCALL, 1)
      DO 10 I = 1, 3
         SRC(I) = -1
         TYP(I) = -1
         IDS(I) = -1
         SEV(I) = -1
         LENS(I) = -1
         MSGS(I) = 'GUARDING'
   10 CONTINUE
      N = FGLGETDEBUGMESSAGELOGC(2, SRC, TYP, IDS, SEV, LENS, MSGS)
      CALL CHECK('messages taken', N, 2)
      IF (SRC(1) .NE. LSRC .OR. TYP(1) .NE. LTYP .OR. IDS(2) .NE. LID
     &    .OR. SEV(2) .NE. LSEV) CALL FAIL('numbers')
      CALL CHECK('full length', LENS(1), LLEN)
      CALL CHECK('truncated text', INDEX(LTEXT, MSGS(1)), 2)
      CALL CHECK('second text', INDEX(LTEXT, MSGS(2)), 2)
      CALL GUARDS
C     One message is left: element 2 keeps what it held.
      MSGS(2) = 'KEEPTHIS'
      LENS(2) = -2
      N = FGLGETDEBUGMESSAGELOGC(2, SRC, TYP, IDS, SEV, LENS, MSGS)
      CALL CHECK('messages left', N, 1)
      CALL CHECK('third length', LENS(1), LLEN)
      CALL CHECK('untaken length', LENS(2), -2)
      IF (MSGS(2) .NE. 'KEEPTHIS') CALL FAIL('untaken text')
      CALL GUARDS
C     The log is empty; a count far beyond what it can hold asks OpenGL
C     for no more than the log's room.
      N = FGLGETDEBUGMESSAGELOGC(2000000000, SRC, TYP, IDS, SEV, LENS,
     &                           MSGS)
      CALL CHECK('empty log', N, 0)
      WRITE (*, '(A, I3)') 'FAILURES', NFAIL
      CALL EXIT(NFAIL)
      END

      SUBROUTINE GUARDS
      INTEGER*4 SRC(3), TYP(3), IDS(3), SEV(3), LENS(3)
      CHARACTER*8 MSGS(3)
      COMMON /LOG/ SRC, TYP, IDS, SEV, LENS
      COMMON /LOGT/ MSGS
      IF (SRC(3) .NE. -1 .OR. TYP(3) .NE. -1 .OR. IDS(3) .NE. -1 .OR.
     &    SEV(3) .NE. -1 .OR. LENS(3) .NE. -1 .OR.
     &    MSGS(3) .NE. 'GUARDING') CALL FAIL('a guard changed')
      END

C     Keeps what it receives, the text between brackets.
      SUBROUTINE SEEN4(SOURCE, TYPE, ID, SEVERITY, MESSAGE, WORD)
      INTEGER*4 SOURCE, TYPE, ID, SEVERITY, WORD
      CHARACTER*(*) MESSAGE
      INTEGER*4 NCALL, LSRC, LTYP, LID, LSEV, LLEN, LWORD
      COMMON /SEEN/ NCALL, LSRC, LTYP, LID, LSEV, LLEN, LWORD
      CHARACTER*80 LTEXT
      COMMON /SEENT/ LTEXT
      NCALL = NCALL + 1
      LSRC = SOURCE
      LTYP = TYPE
      LID = ID
      LSEV = SEVERITY
      LLEN = LEN(MESSAGE)
      LWORD = WORD
      LTEXT = '[' // MESSAGE // ']'
      WRITE (*, '(3A)') '[', MESSAGE, ']'
      END

      SUBROUTINE CHECK(WHAT, GOT, WANT)
      CHARACTER*(*) WHAT
      INTEGER*4 GOT, WANT
      IF (GOT .NE. WANT) THEN
         WRITE (*, '(2A, 2I8)') 'MISMATCH ', WHAT, GOT, WANT
         CALL FAIL(' ')
      END IF
      END

      SUBROUTINE FAIL(WHAT)
      CHARACTER*(*) WHAT
      INTEGER*4 NFAIL
      COMMON /TALLY/ NFAIL
      IF (WHAT .NE. ' ') WRITE (*, '(2A)') 'MISMATCH ', WHAT
      NFAIL = NFAIL + 1
      END
