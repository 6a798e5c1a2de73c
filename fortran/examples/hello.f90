! hello.f90: a window with a triangle; Q or Escape ends the program.
! Free form, with the modules: every call is checked against the entry.
!
! Build:  gfortran -I$P/include/fortran/gfortran hello.f90 -L$P/lib -lfglut -lfgl

module hello_callbacks
  use fgl
  implicit none
contains
  ! Called by GLUT whenever the window needs painting.
  subroutine draw()
    call fglClearColor(1.0, 1.0, 1.0, 1.0)
    call fglClear(GL_COLOR_BUFFER_BIT)
    call fglBegin(GL_TRIANGLES)
    call fglColor3f(1.0, 0.0, 0.0)
    call fglVertex2f(-0.8, -0.8)
    call fglColor3f(0.0, 1.0, 0.0)
    call fglVertex2f(0.8, -0.8)
    call fglColor3f(0.0, 0.0, 1.0)
    call fglVertex2f(0.0, 0.8)
    call fglEnd()
    call fglFlush()
  end subroutine draw

  ! Called by GLUT for each key: its code (0 to 255) and the pointer
  ! position.
  subroutine key(k, x, y)
    integer(4) :: k, x, y
    if (k == ichar('q') .or. k == 27) stop
  end subroutine key
end module hello_callbacks

program hello
  use fglut
  use hello_callbacks
  implicit none
  integer(4) :: window
  call fglutInit()
  call fglutInitDisplayMode(GLUT_RGB + GLUT_SINGLE)
  window = fglutCreateWindowC('Hello from Fortran')
  call fglutDisplayFunc(draw)
  call fglutKeyboardFunc(key)
  call fglutMainLoop()
end program hello
