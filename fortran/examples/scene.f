C     scene.f: a lit scene in perspective, drawn through GLU from
C     Fortran 77, with picking.
C
C     The window "Fortran GLU scene" (480x360, white background) shows
C     six objects lit by light 0 and seen in perspective
C     (fgluPerspective, fgluLookAt):
C        top row     a sphere wearing a mipmapped checker texture
C                    (built by fgluBuild2DMipmapsI4 from INTEGER*4
C                    data), partly behind a cylinder, and a disk with
C                    a hole, all three from one quadric;
C        bottom row  a concave polygon with a square hole and a
C                    five-pointed star, both cut into triangles by the
C                    tessellator (the star crosses itself; the routine
C                    COMBIN makes the vertices where its edges cross,
C                    with colours mixed from their neighbours), and a
C                    NURBS surface with a hole trimmed out of it.
C     A click with the left button prints the name of the object under
C     the pointer: "PICKED SPHERE", ..., or "PICKED NOTHING". The scene
C     is drawn again in selection mode through fgluPickMatrix, with
C     one name per object, and the nearest hit wins (where the cylinder
C     hides the sphere, both are hit). Q or Escape deletes the GLU
C     objects and ends the program.
C
C     scene_direct.c beside this file draws the same scene in C with
C     direct OpenGL, GLU and GLUT calls.
C
C     REAL values are all exact binary fractions (0.25, 0.875 ...), so
C     that gfortran and f2c read every one of them as the same bits.
C
C     Build:  gfortran -std=legacy scene.f -lfglu -lfglut -lfgl
C        or:  f2c scene.f && cc scene.c -lfglu -lfglut -lfgl -lf2c -lm
C
      PROGRAM SCENE
      INCLUDE 'fglut.inc'
      INTEGER*4 FGLUTCREATEWINDOWC, IWIN
      EXTERNAL DISPLAY, RESHAPE, MOUSE, KEYBRD
      CALL FGLUTINIT
      CALL FGLUTINITDISPLAYMODE(GLUT_RGB + GLUT_SINGLE + GLUT_DEPTH)
      CALL FGLUTINITWINDOWSIZE(480, 360)
      IWIN = FGLUTCREATEWINDOWC('Fortran GLU scene')
      CALL FGLUTDISPLAYFUNC(DISPLAY)
      CALL FGLUTRESHAPEFUNC(RESHAPE)
      CALL FGLUTMOUSEFUNC(MOUSE)
      CALL FGLUTKEYBOARDFUNC(KEYBRD)
      CALL SETUP
      CALL FGLUTMAINLOOP
      END

C     The GLU objects: one quadric, one tessellator for the polygon and
C     one for the star (each with its own routines), one NURBS
C     renderer. Each is an INTEGER*4 handle.
      BLOCK DATA HANDLD
      INTEGER*4 QUAD, TPOLY, TSTAR, NURB
      COMMON /HANDLE/ QUAD, TPOLY, TSTAR, NURB
      DATA QUAD, TPOLY, TSTAR, NURB / 4*0 /
      END

C     OpenGL state, the texture and the GLU objects with their
C     properties and routines.
      SUBROUTINE SETUP
      INCLUDE 'fgl.inc'
      INCLUDE 'fglu.inc'
      INTEGER*4 QUAD, TPOLY, TSTAR, NURB
      COMMON /HANDLE/ QUAD, TPOLY, TSTAR, NURB
      INTEGER*4 FGLUNEWQUADRIC, FGLUNEWTESS, FGLUNEWNURBSRENDERER
      INTEGER*4 FGLUBUILD2DMIPMAPSI4, FGLUERRORSTRINGC
      EXTERNAL FGLBEGIN, FGLEND, FGLVERTEX3DV
      EXTERNAL VTXCOL, COMBIN, TESERR, QERR, NERR
      INTEGER*4 TEX(3, 64, 64), I, J, N, IERR, LENGTH
      REAL*4 SPEC(4), RMETH, RFILL
      CHARACTER*60 TEXT
      SAVE TEX
      DATA SPEC / 0.5, 0.5, 0.5, 1.0 /
      CALL FGLCLEARCOLOR(1.0, 1.0, 1.0, 1.0)
      CALL FGLENABLE(GL_DEPTH_TEST)
      CALL FGLENABLE(GL_LIGHTING)
      CALL FGLENABLE(GL_LIGHT0)
      CALL FGLLIGHTMODELI(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE)
      CALL FGLENABLE(GL_COLOR_MATERIAL)
      CALL FGLMATERIALFV(GL_FRONT_AND_BACK, GL_SPECULAR, SPEC)
      CALL FGLMATERIALF(GL_FRONT_AND_BACK, GL_SHININESS, 32.0)
      CALL FGLENABLE(GL_AUTO_NORMAL)
      CALL FGLENABLE(GL_NORMALIZE)
C     A 64x64 checker of 8x8 squares, yellow and blue, one INTEGER*4
C     per component; the mipmaps average it down to 1x1.
      DO 20 J = 1, 64
         DO 10 I = 1, 64
            IF (MOD((I - 1) / 8 + (J - 1) / 8, 2) .EQ. 0) THEN
               TEX(1, I, J) = 250
               TEX(2, I, J) = 210
               TEX(3, I, J) = 60
            ELSE
               TEX(1, I, J) = 40
               TEX(2, I, J) = 80
               TEX(3, I, J) = 200
            END IF
   10    CONTINUE
   20 CONTINUE
      N = 3 * 64 * 64
      CALL FGLPIXELSTOREI(GL_UNPACK_ALIGNMENT, 1)
      IERR = FGLUBUILD2DMIPMAPSI4(GL_TEXTURE_2D, 3, 64, 64, GL_RGB,
     &                            GL_UNSIGNED_BYTE, TEX, N)
      IF (IERR .NE. 0) THEN
         LENGTH = FGLUERRORSTRINGC(IERR, TEXT)
         WRITE (*, 100) 'MIPMAP ERROR', TEXT(1:MAX(1, MIN(LENGTH, 60)))
         CALL FLUSH(6)
      END IF
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
     &                      GL_LINEAR_MIPMAP_LINEAR)
      CALL FGLTEXPARAMETERI(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
     &                      GL_LINEAR)
      CALL FGLTEXENVI(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE)
C     The objects. A handle of 0 means GLU could not make the object.
      QUAD = FGLUNEWQUADRIC()
      TPOLY = FGLUNEWTESS()
      TSTAR = FGLUNEWTESS()
      NURB = FGLUNEWNURBSRENDERER()
      IF (QUAD .EQ. 0 .OR. TPOLY .EQ. 0 .OR. TSTAR .EQ. 0 .OR.
     &    NURB .EQ. 0) THEN
         WRITE (*, 100) 'NO GLU OBJECTS'
         CALL FLUSH(6)
         CALL EXIT(1)
      END IF
      CALL FGLUQUADRICNORMALS(QUAD, GLU_SMOOTH)
      CALL FGLUQUADRICDRAWSTYLE(QUAD, GLU_FILL)
      CALL FGLUQUADRICCALLBACK(QUAD, GLU_ERROR, QERR)
C     The polygon's vertices go straight to OpenGL: GLU hands the
C     vertex routine the array given to FGLUTESSVERTEX, which is just
C     what FGLVERTEX3DV takes. Its winding rule is GLU's default, odd,
C     so the inner contour is a hole.
      CALL FGLUTESSCALLBACK(TPOLY, GLU_TESS_BEGIN, FGLBEGIN)
      CALL FGLUTESSCALLBACK(TPOLY, GLU_TESS_VERTEX, FGLVERTEX3DV)
      CALL FGLUTESSCALLBACK(TPOLY, GLU_TESS_END, FGLEND)
      CALL FGLUTESSCALLBACK(TPOLY, GLU_TESS_ERROR, TESERR)
      CALL FGLUTESSNORMAL(TPOLY, 0.0D0, 0.0D0, 1.0D0)
C     The star's vertices carry a colour, and with the positive
C     winding rule its middle (wound twice) is filled too. The value of
C     a tessellator property is DOUBLE PRECISION.
      CALL FGLUTESSCALLBACK(TSTAR, GLU_TESS_BEGIN, FGLBEGIN)
      CALL FGLUTESSCALLBACK(TSTAR, GLU_TESS_VERTEX, VTXCOL)
      CALL FGLUTESSCALLBACK(TSTAR, GLU_TESS_END, FGLEND)
      CALL FGLUTESSCALLBACK(TSTAR, GLU_TESS_COMBINE, COMBIN)
      CALL FGLUTESSCALLBACK(TSTAR, GLU_TESS_ERROR, TESERR)
      CALL FGLUTESSNORMAL(TSTAR, 0.0D0, 0.0D0, 1.0D0)
      CALL FGLUTESSPROPERTY(TSTAR, GLU_TESS_WINDING_RULE,
     &                      DBLE(GLU_TESS_WINDING_POSITIVE))
C     A NURBS property's value is REAL. The surface is cut into 24
C     steps per unit of its parameters, whatever the projection: with
C     GLU's default sampling, in pixels, the pick matrix (which blows a
C     few pixels up to the whole viewport) would make picking cut it
C     into millions of pieces.
      RMETH = REAL(GLU_DOMAIN_DISTANCE)
      RFILL = REAL(GLU_FILL)
      CALL FGLUNURBSPROPERTY(NURB, GLU_SAMPLING_METHOD, RMETH)
      CALL FGLUNURBSPROPERTY(NURB, GLU_U_STEP, 24.0)
      CALL FGLUNURBSPROPERTY(NURB, GLU_V_STEP, 24.0)
      CALL FGLUNURBSPROPERTY(NURB, GLU_DISPLAY_MODE, RFILL)
      CALL FGLUNURBSCALLBACK(NURB, GLU_NURBS_ERROR, NERR)
  100 FORMAT (A, 1X, A)
      END

C     The whole window is the viewport; 40 degrees of view vertically.
      SUBROUTINE RESHAPE(W, H)
      INTEGER*4 W, H
      INCLUDE 'fgl.inc'
      IF (W .LE. 0 .OR. H .LE. 0) RETURN
      CALL FGLVIEWPORT(0, 0, W, H)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLLOADIDENTITY
      CALL FGLUPERSPECTIVE(40.0D0, DBLE(W) / DBLE(H), 1.0D0, 20.0D0)
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      END

C     The camera, above the middle of the scene, and the light, fixed
C     relative to the scene.
      SUBROUTINE VIEW
      INCLUDE 'fgl.inc'
      REAL*4 LPOS(4)
      DATA LPOS / 2.0, 5.0, 8.0, 1.0 /
      CALL FGLMATRIXMODE(GL_MODELVIEW)
      CALL FGLLOADIDENTITY
      CALL FGLULOOKAT(0.0D0, 1.5D0, 7.0D0, 0.0D0, 0.0D0, 0.0D0,
     &                0.0D0, 1.0D0, 0.0D0)
      CALL FGLLIGHTFV(GL_LIGHT0, GL_POSITION, LPOS)
      END

      SUBROUTINE DISPLAY
      INCLUDE 'fgl.inc'
      CALL FGLCLEAR(GL_COLOR_BUFFER_BIT + GL_DEPTH_BUFFER_BIT)
      CALL VIEW
      CALL DRAWSC
      CALL FGLFLUSH
      END

C     The six objects, each under its name for selection (in render
C     mode OpenGL ignores the names).
      SUBROUTINE DRAWSC
      INCLUDE 'fgl.inc'
      INTEGER*4 QUAD, TPOLY, TSTAR, NURB
      COMMON /HANDLE/ QUAD, TPOLY, TSTAR, NURB
C     1: the sphere, textured, its poles along y, set back so that the
C     cylinder hides its right edge.
      CALL FGLLOADNAME(1)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(-1.5, 1.125, -2.0)
      CALL FGLROTATEF(-90.0, 1.0, 0.0, 0.0)
      CALL FGLCOLOR3F(1.0, 1.0, 1.0)
      CALL FGLENABLE(GL_TEXTURE_2D)
      CALL FGLUQUADRICTEXTURE(QUAD, GL_TRUE)
      CALL FGLUSPHERE(QUAD, 1.0D0, 32, 24)
      CALL FGLUQUADRICTEXTURE(QUAD, GL_FALSE)
      CALL FGLDISABLE(GL_TEXTURE_2D)
      CALL FGLPOPMATRIX
C     2: the cylinder, narrowing upwards, open at both ends.
      CALL FGLLOADNAME(2)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(0.0, 0.375, 0.0)
      CALL FGLROTATEF(-90.0, 1.0, 0.0, 0.0)
      CALL FGLCOLOR3F(0.25, 0.75, 0.375)
      CALL FGLUCYLINDER(QUAD, 0.625D0, 0.375D0, 1.5D0, 32, 8)
      CALL FGLPOPMATRIX
C     3: the disk, turned towards the middle.
      CALL FGLLOADNAME(3)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(2.25, 1.125, 0.0)
      CALL FGLROTATEF(-30.0, 0.0, 1.0, 0.0)
      CALL FGLCOLOR3F(0.875, 0.25, 0.125)
      CALL FGLUDISK(QUAD, 0.3125D0, 0.875D0, 32, 4)
      CALL FGLPOPMATRIX
C     4, 5: the polygon and the star, in the plane z = 0.
      CALL FGLNORMAL3F(0.0, 0.0, 1.0)
      CALL FGLLOADNAME(4)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(-2.25, -1.25, 0.0)
      CALL FGLCOLOR3F(0.25, 0.375, 0.875)
      CALL POLYGN(TPOLY)
      CALL FGLPOPMATRIX
      CALL FGLLOADNAME(5)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(0.0, -1.25, 0.0)
      CALL STAR(TSTAR)
      CALL FGLPOPMATRIX
C     6: the surface, tilted back.
      CALL FGLLOADNAME(6)
      CALL FGLPUSHMATRIX
      CALL FGLTRANSLATEF(2.25, -1.25, 0.0)
      CALL FGLROTATEF(-30.0, 1.0, 0.0, 0.0)
      CALL FGLCOLOR3F(0.875, 0.625, 0.125)
      CALL SURFAC(NURB)
      CALL FGLPOPMATRIX
      END

C     A concave outline (a notch cut into its top edge) with a square
C     hole. The vertex arrays must stay in place until the polygon
C     ends: GLU keeps their addresses.
      SUBROUTINE POLYGN(T)
      INTEGER*4 T
      DOUBLE PRECISION P(3, 9)
      INTEGER*4 I, NODATA
      SAVE P, NODATA
      DATA P / -0.85D0, -0.7D0, 0.0D0,   0.85D0, -0.7D0, 0.0D0,
     &          0.85D0,  0.75D0, 0.0D0,  0.0D0,  0.15D0, 0.0D0,
     &         -0.85D0,  0.75D0, 0.0D0,
     &         -0.35D0, -0.5D0, 0.0D0,  -0.35D0, -0.05D0, 0.0D0,
     &          0.35D0, -0.05D0, 0.0D0,  0.35D0, -0.5D0, 0.0D0 /
      DATA NODATA / 0 /
      CALL FGLUTESSBEGINPOLYGON(T, NODATA)
      CALL FGLUTESSBEGINCONTOUR(T)
      DO 10 I = 1, 5
         CALL FGLUTESSVERTEX(T, P(1, I), P(1, I))
   10 CONTINUE
      CALL FGLUTESSENDCONTOUR(T)
      CALL FGLUTESSBEGINCONTOUR(T)
      DO 20 I = 6, 9
         CALL FGLUTESSVERTEX(T, P(1, I), P(1, I))
   20 CONTINUE
      CALL FGLUTESSENDCONTOUR(T)
      CALL FGLUTESSENDPOLYGON(T)
      END

C     A pentagram: the five points of a circle of radius 0.85, taken
C     every second one. Each vertex is x, y, z and a colour.
      SUBROUTINE STAR(T)
      INTEGER*4 T
      DOUBLE PRECISION V(6, 5)
      INTEGER*4 I, ORDER(5), NODATA
      SAVE V, ORDER, NODATA
      DATA V /  0.0D0,     0.85D0,    0.0D0,  1.0D0, 0.0D0, 0.0D0,
     &         -0.8084D0,  0.2627D0,  0.0D0,  1.0D0, 0.85D0, 0.0D0,
     &         -0.4996D0, -0.6877D0,  0.0D0,  0.0D0, 0.7D0, 0.2D0,
     &          0.4996D0, -0.6877D0,  0.0D0,  0.0D0, 0.6D0, 0.9D0,
     &          0.8084D0,  0.2627D0,  0.0D0,  0.7D0, 0.0D0, 0.8D0 /
      DATA ORDER / 1, 3, 5, 2, 4 /
      DATA NODATA / 0 /
      CALL FGLUTESSBEGINPOLYGON(T, NODATA)
      CALL FGLUTESSBEGINCONTOUR(T)
      DO 10 I = 1, 5
         CALL FGLUTESSVERTEX(T, V(1, ORDER(I)), V(1, ORDER(I)))
   10 CONTINUE
      CALL FGLUTESSENDCONTOUR(T)
      CALL FGLUTESSENDPOLYGON(T)
      END

C     The star's vertex routine: the colour, then the position.
      SUBROUTINE VTXCOL(V)
      DOUBLE PRECISION V(6)
      CALL FGLCOLOR3DV(V(4))
      CALL FGLVERTEX3DV(V)
      END

C     Where two edges of the star cross, GLU asks for a new vertex at
C     COORDS between up to four neighbours D1 to D4 with weights W.
C     Its data, OUT, is an array the library lends (at least 16 DOUBLE
C     PRECISION values); a neighbour GLU does not name arrives as
C     zeros, with weight 0.
      SUBROUTINE COMBIN(COORDS, D1, D2, D3, D4, W, OUT)
      DOUBLE PRECISION COORDS(3), D1(6), D2(6), D3(6), D4(6), OUT(6)
      REAL*4 W(4)
      INTEGER*4 I
      DO 10 I = 1, 3
         OUT(I) = COORDS(I)
   10 CONTINUE
      DO 20 I = 4, 6
         OUT(I) = W(1) * D1(I) + W(2) * D2(I) + W(3) * D3(I)
     &          + W(4) * D4(I)
   20 CONTINUE
      END

C     A bicubic patch, 1.5 wide, its middle raised, with a hole trimmed
C     out of it: the outer trim runs anticlockwise around the whole
C     parameter square, the inner one clockwise, an arch (a NURBS
C     curve) closed by two straight pieces.
      SUBROUTINE SURFAC(N)
      INTEGER*4 N
      INCLUDE 'fgl.inc'
      INCLUDE 'fglu.inc'
      REAL*4 KNOTS(8), CTL(3, 4, 4), EDGE(2, 5)
      REAL*4 CKNOTS(8), ARCH(2, 4), BASE(2, 3)
      INTEGER*4 I, J
      REAL*4 HEIGHT(4, 4), COORD(4)
      SAVE KNOTS, CTL, EDGE, CKNOTS, ARCH, BASE, HEIGHT, COORD
      DATA KNOTS / 4*0.0, 4*1.0 /
      DATA COORD / -0.75, -0.25, 0.25, 0.75 /
      DATA HEIGHT / 0.0, 0.25,  0.0,  0.0,
     &              0.25, 0.75, 0.5,  0.0,
     &              0.0, 0.5,  0.75, 0.25,
     &              0.0, 0.0,  0.25, -0.25 /
      DATA EDGE / 0.0, 0.0,  1.0, 0.0,  1.0, 1.0,  0.0, 1.0,  0.0, 0.0 /
      DATA CKNOTS / 4*0.0, 4*1.0 /
      DATA ARCH / 0.3125, 0.4375,  0.375, 0.8125,
     &            0.625, 0.8125,  0.6875, 0.4375 /
      DATA BASE / 0.6875, 0.4375,  0.5, 0.25,  0.3125, 0.4375 /
      DO 20 J = 1, 4
         DO 10 I = 1, 4
            CTL(1, I, J) = COORD(J)
            CTL(2, I, J) = COORD(I)
            CTL(3, I, J) = HEIGHT(I, J)
   10    CONTINUE
   20 CONTINUE
      CALL FGLUBEGINSURFACE(N)
      CALL FGLUNURBSSURFACE(N, 8, KNOTS, 8, KNOTS, 12, 3, CTL, 4, 4,
     &                      GL_MAP2_VERTEX_3)
      CALL FGLUBEGINTRIM(N)
      CALL FGLUPWLCURVE(N, 5, EDGE, 2, GLU_MAP1_TRIM_2)
      CALL FGLUENDTRIM(N)
      CALL FGLUBEGINTRIM(N)
      CALL FGLUNURBSCURVE(N, 8, CKNOTS, 2, ARCH, 4, GLU_MAP1_TRIM_2)
      CALL FGLUPWLCURVE(N, 3, BASE, 2, GLU_MAP1_TRIM_2)
      CALL FGLUENDTRIM(N)
      CALL FGLUENDSURFACE(N)
      END

C     GLU's error routines receive the error code.
      SUBROUTINE TESERR(CODE)
      INTEGER*4 CODE
      WRITE (*, 100) 'TESS ERROR', CODE
      CALL FLUSH(6)
  100 FORMAT (A, I8)
      END

      SUBROUTINE QERR(CODE)
      INTEGER*4 CODE
      WRITE (*, 100) 'QUADRIC ERROR', CODE
      CALL FLUSH(6)
  100 FORMAT (A, I8)
      END

      SUBROUTINE NERR(CODE)
      INTEGER*4 CODE
      WRITE (*, 100) 'NURBS ERROR', CODE
      CALL FLUSH(6)
  100 FORMAT (A, I8)
      END

      SUBROUTINE MOUSE(BUTTON, STATE, X, Y)
      INTEGER*4 BUTTON, STATE, X, Y
      INCLUDE 'fglut.inc'
      IF (BUTTON .EQ. GLUT_LEFT_BUTTON .AND. STATE .EQ. GLUT_DOWN)
     &   CALL PICK(X, Y)
      END

C     Draws the scene in selection mode, seen through a 3x3 pixel
C     region around the pointer (X, Y from the top left, as GLUT gives
C     them; OpenGL counts rows from the bottom), and prints the name of
C     the nearest object hit. A hit record is: the number of names, the
C     nearest and farthest depth (unsigned 32-bit values), the names.
      SUBROUTINE PICK(X, Y)
      INTEGER*4 X, Y
      INCLUDE 'fgl.inc'
      INTEGER*4 FGLRENDERMODE
      INTEGER*4 NSEL
      PARAMETER (NSEL = 256)
      INTEGER*4 SELBUF(NSEL), VP(4), HITS, I, K, NNAMES, BEST, NAME
      DOUBLE PRECISION Z, ZBEST
      CHARACTER*8 NAMES(6)
      SAVE SELBUF, NAMES
      DATA NAMES / 'SPHERE', 'CYLINDER', 'DISK', 'POLYGON', 'STAR',
     &             'SURFACE' /
C     OpenGL writes the hits into SELBUF later, at the end of selection
C     mode; hence SAVE.
      CALL FGLSELECTBUFFER(NSEL, SELBUF)
      CALL FGLGETINTEGERV(GL_VIEWPORT, VP)
      HITS = FGLRENDERMODE(GL_SELECT)
      CALL FGLINITNAMES
      CALL FGLPUSHNAME(0)
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLPUSHMATRIX
      CALL FGLLOADIDENTITY
      CALL FGLUPICKMATRIX(DBLE(X) + 0.5D0, DBLE(VP(4) - Y) - 0.5D0,
     &                    3.0D0, 3.0D0, VP)
      CALL FGLUPERSPECTIVE(40.0D0, DBLE(VP(3)) / DBLE(VP(4)),
     &                     1.0D0, 20.0D0)
      CALL VIEW
      CALL DRAWSC
      CALL FGLMATRIXMODE(GL_PROJECTION)
      CALL FGLPOPMATRIX
      CALL FGLMATRIXMODE(GL_MODELVIEW)
C     A negative count means the buffer overflowed; with six objects
C     of one name each it holds all hits.
      HITS = FGLRENDERMODE(GL_RENDER)
      BEST = 0
      ZBEST = 0.0D0
      K = 1
      DO 10 I = 1, HITS
         IF (K + 2 .GT. NSEL) GO TO 20
         NNAMES = SELBUF(K)
         Z = DBLE(SELBUF(K + 1))
         IF (Z .LT. 0.0D0) Z = Z + 4294967296.0D0
         IF (NNAMES .GE. 1 .AND. K + 2 + NNAMES .LE. NSEL) THEN
            NAME = SELBUF(K + 2 + NNAMES)
            IF (NAME .GE. 1 .AND. NAME .LE. 6 .AND.
     &          (BEST .EQ. 0 .OR. Z .LT. ZBEST)) THEN
               BEST = NAME
               ZBEST = Z
            END IF
         END IF
         K = K + 3 + NNAMES
   10 CONTINUE
   20 IF (BEST .EQ. 0) THEN
         WRITE (*, 100) 'PICKED', 'NOTHING'
      ELSE
         WRITE (*, 100) 'PICKED', NAMES(BEST)
      END IF
      CALL FLUSH(6)
  100 FORMAT (A, 1X, A)
      END

      SUBROUTINE KEYBRD(KEY, X, Y)
      INTEGER*4 KEY, X, Y
      INTEGER*4 QUAD, TPOLY, TSTAR, NURB
      COMMON /HANDLE/ QUAD, TPOLY, TSTAR, NURB
      IF (KEY .EQ. ICHAR('q') .OR. KEY .EQ. ICHAR('Q') .OR.
     &    KEY .EQ. 27) THEN
         CALL FGLUDELETEQUADRIC(QUAD)
         CALL FGLUDELETETESS(TPOLY)
         CALL FGLUDELETETESS(TSTAR)
         CALL FGLUDELETENURBSRENDERER(NURB)
         CALL EXIT(0)
      END IF
      END
