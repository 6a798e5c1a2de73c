! ranks_run.f90: through the modules, matrices of rank 2 and 3, array
! elements and scalars reach GLU and come back where the caller keeps them.
! Prints one line per case and ends with status 1 if any case is wrong.
program ranks_run
  use fglu
  implicit none
  real(8) :: mv(4, 4), pj(4, 4), stack(4, 4, 2), x, y, z, xyz(3)
  real(4) :: tol, tols(2, 2), cube(2, 2, 2)
  integer(4) :: vp(4), nurb, iok, i, fails

  fails = 0
  mv = 0d0
  pj = 0d0
  do i = 1, 4
    mv(i, i) = 1d0
    pj(i, i) = 1d0
  end do
  mv(1, 1) = 2d0
  vp = [0, 0, 100, 100]
  ! Window (75, 50, 0.5) is (0.5, 0, 0) in normalized coordinates; the model
  ! matrix doubles x, so the object point is (0.25, 0, 0).
  iok = fgluUnProject(75d0, 50d0, 0.5d0, mv, pj, vp, x, y, z)
  call check('rank-2 matrices', iok == 1 .and. near(x, 0.25d0) .and. near(y, 0d0) .and. near(z, 0d0))

  ! The second matrix of a stack, passed as its first element; the first
  ! one would give another point.
  stack(:, :, 1) = pj
  stack(:, :, 2) = mv
  iok = fgluUnProject(75d0, 50d0, 0.5d0, stack(1, 1, 2), stack, vp, xyz(1), xyz(2), xyz(3))
  call check('element of a rank-3 stack', iok == 1 .and. near(xyz(1), 0.25d0))

  ! A generic name: the value lands in the first element of an array of
  ! rank 2, in the named element of one of rank 3, and in a scalar.
  nurb = fgluNewNurbsRenderer()
  call fgluNurbsProperty(nurb, GLU_SAMPLING_TOLERANCE, 25.0)
  tols = -1.0
  call fgluGetNurbsProperty(nurb, GLU_SAMPLING_TOLERANCE, tols)
  call check('rank-2 result', tols(1, 1) == 25.0 .and. all(tols(2:, 1) == -1.0) .and. all(tols(:, 2) == -1.0))
  cube = -1.0
  call fgluGetNurbsProperty(nurb, GLU_SAMPLING_TOLERANCE, cube(2, 1, 2))
  call check('element of a rank-3 array', cube(2, 1, 2) == 25.0 .and. count(cube == -1.0) == 7)
  tol = -1.0
  call fgluGetNurbsProperty(nurb, GLU_SAMPLING_TOLERANCE, tol)
  call check('scalar result', tol == 25.0)
  call fgluDeleteNurbsRenderer(nurb)
  if (fails > 0) stop 1

contains

  logical function near(a, b)
    real(8), intent(in) :: a, b
    near = abs(a - b) < 1d-9
  end function near

  subroutine check(what, ok)
    character(*), intent(in) :: what
    logical, intent(in) :: ok
    if (ok) then
      print '(a, a)', 'ok    ', what
    else
      print '(a, a)', 'FAIL  ', what
      fails = fails + 1
    end if
  end subroutine check

end program ranks_run
