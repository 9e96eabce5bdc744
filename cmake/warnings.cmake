# The project's warnings, for its own code only: a target links selenial_warnings
# PRIVATE, so that neither GoogleTest's sources nor a user of a room's headers gets them.
add_library(selenial_warnings INTERFACE)
if(MSVC)
  target_compile_options(selenial_warnings INTERFACE /W4)
else()
  target_compile_options(selenial_warnings INTERFACE -Wall -Wextra -Wpedantic)
endif()

# selenial_warn_targets(FOLDER...): every target built from those source folders and the
# folders below them gets the warnings; a folder built from outside the tree (GoogleTest's) not.
function(selenial_warn_targets)
  foreach(folder IN LISTS ARGN)
    get_property(targets DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        target_link_libraries(${target} PRIVATE selenial_warnings)
      endif()
    endforeach()
    get_property(below DIRECTORY "${folder}" PROPERTY SUBDIRECTORIES)
    foreach(subfolder IN LISTS below)
      cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${subfolder}" NORMALIZE inside)
      if(inside)
        selenial_warn_targets("${subfolder}")
      endif()
    endforeach()
  endforeach()
endfunction()
