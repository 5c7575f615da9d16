# Compiler warnings and sanitizer builds shared by every component.

if(KESTRIX_ASAN AND KESTRIX_TSAN)
  message(FATAL_ERROR "KESTRIX_ASAN and KESTRIX_TSAN cannot be combined")
endif()

add_compile_options(-Wall -Wextra)

# Sanitizer builds are test builds: light optimisation keeps the instrumented
# suites quick to build and to run, line tables keep their reports readable.
# These come after the build type's own flags and so win over them.
if(KESTRIX_ASAN OR KESTRIX_TSAN)
  add_compile_options(-O1 -g1 -fno-omit-frame-pointer)
endif()

if(KESTRIX_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KESTRIX_TSAN)
  add_compile_options(-fsanitize=thread)
  add_link_options(-fsanitize=thread)
endif()
