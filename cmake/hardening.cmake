# Hardening as Debian builds it: flags that dpkg-buildflags exports are honoured (CMake reads
# CFLAGS, CXXFLAGS and LDFLAGS itself; CPPFLAGS it does not), and for optimised builds the
# stack protector, fortified calls and full RELRO with immediate binding are on unless given.
option(BRIM_HARDEN "Stack protector, fortified calls and full RELRO in optimised builds" ON)

if(DEFINED ENV{CPPFLAGS})
  separate_arguments(brim_env_cppflags UNIX_COMMAND "$ENV{CPPFLAGS}")
  add_compile_options(${brim_env_cppflags})
endif()

if(BRIM_HARDEN AND NOT BRIM_SANITIZE)
  set(brim_given_flags "${CMAKE_CXX_FLAGS} $ENV{CPPFLAGS}")
  set(brim_optimised "$<NOT:$<CONFIG:Debug>>")
  if(NOT brim_given_flags MATCHES "-fstack-protector")
    add_compile_options(-fstack-protector-strong)
  endif()
  # Fortified calls need optimisation; a Debug build would only warn.
  if(NOT brim_given_flags MATCHES "_FORTIFY_SOURCE")
    add_compile_options($<${brim_optimised}:-D_FORTIFY_SOURCE=2>)
  endif()
  if(NOT "${CMAKE_EXE_LINKER_FLAGS}" MATCHES "-z,now")
    add_link_options(LINKER:-z,relro,-z,now)
  endif()
endif()
