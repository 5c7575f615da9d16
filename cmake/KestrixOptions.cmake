# Compiler warnings and sanitizer builds shared by every component.

if(KESTRIX_ASAN AND KESTRIX_TSAN)
  message(FATAL_ERROR "KESTRIX_ASAN and KESTRIX_TSAN cannot be combined")
endif()

add_compile_options(-Wall -Wextra)

if(KESTRIX_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KESTRIX_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
