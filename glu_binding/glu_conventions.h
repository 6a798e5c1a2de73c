// Conventions of the GLU binding layer: those of the OpenGL layer (every
// argument by address, scalars read at their exact width, the Fortran alias
// of each entry), plus objects held as INTEGER*4 handles.
#pragma once

#include <GL/glu.h>

#include "fgl_conventions.h"
#include "handles.h"

namespace fglu {

// OnObject<&gluX>::call for a gluX whose first parameter is a GLU object:
// the object arrives as the address of its handle, every other argument as
// in fgl::Forward. An unknown handle, or one of another kind, makes the entry
// return without calling GLU (with 0 for a result). While GLU runs, the
// object is the current one, so that callbacks reach its routines.
template <auto Command>
struct OnObject;
template <typename R, typename O, typename... P, R (*Command)(O *, P...)>
struct OnObject<Command> {
  using Params = void(const GLint *, typename fgl::ByAddress<P>::type...);
  static R call(const GLint *handle, typename fgl::ByAddress<P>::type... args) {
    Object *object = find(*handle, kind_of<O>());
    if (object == nullptr) return R();
    Current scope(object);
    return Command(static_cast<O *>(object->glu), fgl::ByAddress<P>::read(args)...);
  }
};

}  // namespace fglu

// Definitions of the generated forwarding entries (fglu_forward.inc). A file
// defines the macro of its own concern as one of these before including
// forward_list.h; the other concerns' lines expand to nothing.
#define FGLU_DEFINE_FORWARD(entry, fortran_name, command, result, params, args)         \
  static_assert(std::is_same_v<void params, fgl::Forward<&command>::Params>,           \
                #entry ": parameter list does not match the prototype of " #command);  \
  extern "C" FGL_API result entry params {                                              \
    FGLU_CHECK_FORWARD(entry, command, args);                                           \
    return fgl::Forward<&command>::call args;                                           \
  }                                                                                     \
  FGL_FORTRAN_ALIAS(entry, fortran_name)

#define FGLU_DEFINE_ON_OBJECT(entry, fortran_name, command, result, params, args)         \
  static_assert(std::is_same_v<void params, fglu::OnObject<&command>::Params>,           \
                #entry ": parameter list does not match the prototype of " #command);    \
  extern "C" FGL_API result entry params {                                                \
    FGLU_CHECK_ENTRY();                                                                   \
    FGLU_CHECK_ON_OBJECT(entry, command, args);                                           \
    return fglu::OnObject<&command>::call args;                                           \
  }                                                                                       \
  FGL_FORTRAN_ALIAS(entry, fortran_name)
