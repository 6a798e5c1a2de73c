! house.f90: the house viewer in free form, checked through the modules.
!
! Draws the picture of house.f (a blue box with black door and windows
! and a red half-hipped roof, in a window titled "Fortran GLUT program")
! with the same calls in the same order and with the same values. USE FGL
! and USE FGLUT give every call an explicit interface, so an argument of
! the wrong type, kind or count is a compile-time error.
!
! Arithmetic as in house.f: products and quotients are formed in double
! precision from REAL inputs and stored as REAL.
!
! Build:  gfortran -I$P/include/fortran/gfortran house.f90 -L$P/lib -lfglut -lfgl

module house_drawing
  use fgl
  implicit none
  private
  public :: display, reshape

  ! The model: extents of the box along z, x and y; wall and roof colours.
  real(4), parameter :: depth = 1.0, width = 1.0, height = 1.0
  real(4), parameter :: wallc(3) = [0.0, 0.0, 1.0], roofc(3) = [1.0, 0.0, 0.0]

contains

  ! Window size w by h: the whole window is the viewport, the shorter side
  ! spans -1 to 1, and the model is turned 30 degrees about y, then tilted
  ! 30 degrees about x.
  subroutine reshape(w, h)
    integer(4) :: w, h
    real(8), save :: left, right, bottom, top
    ! No proportions to keep without a width or a height.
    if (w <= 0 .or. h <= 0) return
    if (h > w) then
      left = -1.0d0
      right = 1.0d0
      bottom = dble(-h) / dble(w)
      top = dble(h) / dble(w)
    else
      left = dble(-w) / dble(h)
      right = dble(w) / dble(h)
      bottom = -1.0d0
      top = 1.0d0
    end if
    call fglViewport(0, 0, w, h)
    call fglMatrixMode(GL_PROJECTION)
    call fglLoadIdentity()
    call fglOrtho(left, right, bottom, top, -1.0d0, 1.0d0)
    call fglMatrixMode(GL_MODELVIEW)
    call fglLoadIdentity()
    call fglRotatef(30.0, 1.0, 0.0, 0.0)
    call fglRotatef(30.0, 0.0, 1.0, 0.0)
  end subroutine reshape

  ! Repaint: clear, scale the largest dimension to 1, draw, flush.
  subroutine display()
    real(4) :: extent, s
    call fglPushMatrix()
    call fglClear(ior(GL_COLOR_BUFFER_BIT, GL_DEPTH_BUFFER_BIT))
    extent = depth
    if (.not. (extent >= width)) extent = width
    if (.not. (extent >= height)) extent = height
    s = real(1.0d0 / dble(extent))
    call fglScalef(s, s, s)
    call fglPushMatrix()
    call draw_roof()
    call draw_box()
    call draw_openings(depth, width, height)
    call fglPopMatrix()
    call fglPopMatrix()
    call fglFlush()
  end subroutine display

  ! a * x and a * b * x formed in double precision, stored as REAL.
  real(4) function p2(a, x)
    real(4), intent(in) :: a, x
    p2 = real(dble(a) * dble(x))
  end function p2

  real(4) function p3(a, b, x)
    real(4), intent(in) :: a, b, x
    p3 = real(dble(a) * dble(b) * dble(x))
  end function p3

  ! Walls: six rectangles, the rotations accumulate.
  subroutine draw_box()
    call fglColor3f(wallc(1), wallc(2), wallc(3))
    call fglPushMatrix()
    call draw_face(depth, width, height)
    call fglRotatef(180.0, 0.0, 1.0, 0.0)
    call draw_face(depth, width, height)
    call fglRotatef(90.0, 0.0, 1.0, 0.0)
    call draw_face(width, depth, height)
    call fglRotatef(180.0, 0.0, 1.0, 0.0)
    call draw_face(width, depth, height)
    call fglRotatef(90.0, 1.0, 0.0, 0.0)
    call draw_face(height, depth, width)
    call fglRotatef(180.0, 1.0, 0.0, 0.0)
    call draw_face(height, depth, width)
    call fglPopMatrix()
  end subroutine draw_box

  ! A u x v rectangle in the plane z = a/2, normal (0, 0, 1).
  subroutine draw_face(a, u, v)
    real(4), intent(in) :: a, u, v
    real(4), parameter :: half = 0.5
    call fglPushMatrix()
    call fglTranslatef(0.0, 0.0, p2(a, half))
    call fglNormal3f(0.0, 0.0, 1.0)
    call fglRectf(p2(-u, half), p2(-v, half), p2(u, half), p2(v, half))
    call fglPopMatrix()
  end subroutine draw_face

  ! Door and windows, black, in the planes of the front wall (z = d/2) and
  ! the left wall (x = -w/2), drawn over the depth-tested box and roof.
  subroutine draw_openings(d, w, h)
    real(4), intent(in) :: d, w, h
    real(4), parameter :: f01 = 0.1, f02 = 0.2, f03 = 0.3, f05 = 0.5, f2 = 2.0
    real(4), parameter :: fm02 = -0.2, fm05 = -0.5
    call fglClear(GL_DEPTH_BUFFER_BIT)
    call fglPushMatrix()
    call fglColor3f(0.0, 0.0, 0.0)
    if (d >= w) then
      ! Two windows on the front wall.
      call fglTranslatef(p2(fm02, w), 0.0, p2(f05, d))
      call rectangle(p2(f01, w), p2(f02, h))
      call fglTranslatef(p3(f2, f02, w), 0.0, 0.0)
      call rectangle(p2(f01, w), p2(f02, h))
      call fglTranslatef(-p2(f02, w), p2(fm02, h), p2(fm05, d))
      ! Frame x along +z, z along -x: door and small window, left.
      call fglRotatef(-90.0, 0.0, 1.0, 0.0)
      call fglTranslatef(p2(f02, d), 0.0, p2(f05, w))
      call rectangle(p2(f01, d), p2(f03, h))
      call fglTranslatef(-p3(f2, f02, d), p2(f02, h), 0.0)
      call rectangle(p2(f01, d), p2(f01, h))
    else
      ! Door and small window on the front wall.
      call fglTranslatef(p2(f02, w), p2(fm02, h), p2(f05, d))
      call rectangle(p2(f01, w), p2(f03, h))
      call fglTranslatef(-p3(f2, f02, w), p2(f02, h), 0.0)
      call rectangle(p2(f01, w), p2(f01, h))
      call fglTranslatef(p2(f02, w), 0.0, p2(fm05, d))
      ! Two windows on the left wall.
      call fglRotatef(-90.0, 0.0, 1.0, 0.0)
      call fglTranslatef(p2(fm02, d), 0.0, p2(f05, w))
      call rectangle(p2(f01, d), p2(f02, h))
      call fglTranslatef(p3(f2, f02, d), 0.0, 0.0)
      call rectangle(p2(f01, d), p2(f02, h))
    end if
    call fglPopMatrix()
  end subroutine draw_openings

  ! A rectangle centred on the frame's origin, hu across, hv up.
  subroutine rectangle(hu, hv)
    real(4), intent(in) :: hu, hv
    call fglRectf(-hu, -hv, hu, hv)
  end subroutine rectangle

  ! The half-hipped roof, ridge along the longer horizontal dimension,
  ! pitch 30 degrees.
  subroutine draw_roof()
    real(4), parameter :: pitch = 0.5235988, f12 = 1.2, pi = 3.1415927
    real(4), parameter :: rangle = 1.5707964, degrad = 57.29578
    real(4) :: rafter, eave, rise, ridgeh, pturn, gturn, span, rlen
    real(8) :: hspan
    logical :: alongz
    call fglPushMatrix()
    alongz = depth >= width
    if (alongz) then
      span = width
      rlen = depth
    else
      span = depth
      rlen = width
    end if
    hspan = 0.5d0 * dble(span)
    rafter = real(hspan / cos(dble(pitch)))
    eave = real(dble(rafter) * dble(f12))
    rise = real(tan(dble(pitch)) * hspan)
    ridgeh = real(0.5d0 * dble(height) + dble(rise))
    pturn = real(dble(pitch) * 2.0d0 * 180.0d0 / dble(pi))
    gturn = real((dble(rangle) - dble(pitch)) * dble(degrad))
    if (alongz) call fglRotatef(90.0, 0.0, 1.0, 0.0)
    call fglTranslatef(0.0, ridgeh, 0.0)
    call fglRotatef(-gturn, 1.0, 0.0, 0.0)
    call draw_roof_plane(rafter, rlen, eave)
    call fglRotatef(-pturn, 1.0, 0.0, 0.0)
    call draw_roof_plane(-rafter, rlen, -eave)
    call fglPopMatrix()
    call fglPushMatrix()
    if (.not. alongz) call fglRotatef(-90.0, 0.0, 1.0, 0.0)
    call fglPushMatrix()
    call fglTranslatef(0.0, ridgeh, 0.0)
    call draw_roof_end(rafter, rlen, real(cos(dble(pitch))), real(sin(dble(pitch))))
    call fglRotatef(180.0, 0.0, 1.0, 0.0)
    call draw_roof_end(rafter, rlen, real(cos(dble(pitch))), real(sin(dble(pitch))))
    call fglPopMatrix()
    call fglFlush()
    call fglPopMatrix()
    call fglFlush()
  end subroutine draw_roof

  ! One roof plane in z = 0, ridge on the x axis; positive r and e hang it
  ! towards -y, negated ones towards +y.
  subroutine draw_roof_plane(r, rlen, e)
    real(4), intent(in) :: r, rlen, e
    real(4), parameter :: f02 = 0.2, f04 = 0.4, fm04 = -0.4
    real(8) :: dr, dl, de, outer
    dr = dble(r)
    dl = dble(rlen)
    de = dble(e)
    outer = -3.0d0 * dble(f02) * dl
    call fglBegin(GL_POLYGON)
    call fglColor3f(roofc(1), roofc(2), roofc(3))
    call plane_vertex(outer, -de)
    call plane_vertex(outer, -0.5d0 * dr)
    call plane_vertex(dble(fm04) * dl, 0.0d0)
    call plane_vertex(dble(f04) * dl, 0.0d0)
    call plane_vertex(3.0d0 * dble(f02) * dl, -0.5d0 * dr)
    call plane_vertex(3.0d0 * dble(f02) * dl, -de)
    call fglEnd()
    call fglFlush()
  end subroutine draw_roof_plane

  subroutine plane_vertex(x, y)
    real(8), intent(in) :: x, y
    call fglNormal3f(0.0, 0.0, 1.0)
    call fglVertex2f(real(x), real(y))
  end subroutine plane_vertex

  ! Hip triangle (roof colour, current normal) and gable trapezoid (wall
  ! colour) of the end at +z of the current frame.
  subroutine draw_roof_end(rafter, rlen, cpitch, spitch)
    real(4), intent(in) :: rafter, rlen, cpitch, spitch
    real(4), parameter :: f02 = 0.2, f04 = 0.4
    real(8) :: r, l, c, s
    r = dble(rafter)
    l = dble(rlen)
    c = dble(cpitch)
    s = dble(spitch)
    call fglBegin(GL_TRIANGLES)
    call fglColor3f(roofc(1), roofc(2), roofc(3))
    call end_vertex(0.0d0, 0.0d0, dble(f04) * l)
    call end_vertex(c * (-0.5d0 * r), -(s * 0.5d0 * r), 3.0d0 * dble(f02) * l)
    call end_vertex(c * 0.5d0 * r, -(s * 0.5d0 * r), 3.0d0 * dble(f02) * l)
    call fglEnd()
    call fglBegin(GL_POLYGON)
    call fglColor3f(wallc(1), wallc(2), wallc(3))
    call fglNormal3f(0.0, 0.0, 1.0)
    call end_vertex(-0.5d0 * r * c, -0.5d0 * r * s, 0.5d0 * l)
    call fglNormal3f(0.0, 0.0, 1.0)
    call end_vertex(0.5d0 * r * c, -0.5d0 * r * s, 0.5d0 * l)
    call fglNormal3f(0.0, 0.0, 1.0)
    call end_vertex(r * c, -r * s, 0.5d0 * l)
    call fglNormal3f(0.0, 0.0, 1.0)
    call end_vertex(-r * c, -r * s, 0.5d0 * l)
    call fglEnd()
  end subroutine draw_roof_end

  subroutine end_vertex(x, y, z)
    real(8), intent(in) :: x, y, z
    call fglVertex3f(real(x), real(y), real(z))
  end subroutine end_vertex

end module house_drawing

program house
  use fgl
  use fglut
  use house_drawing
  implicit none
  integer(4) :: window
  call fglutInit()
  call fglutInitDisplayMode(GLUT_DEPTH)
  window = fglutCreateWindowC('Fortran GLUT program')
  call fglutDisplayFunc(display)
  call fglutReshapeFunc(reshape)
  call fglEnable(GL_DEPTH_TEST)
  call fglEnable(GL_LIGHTING)
  call fglEnable(GL_LIGHT0)
  call fglEnable(GL_COLOR_MATERIAL)
  call fglClearColor(1.0, 1.0, 1.0, 1.0)
  call fglutMainLoop()
end program house
