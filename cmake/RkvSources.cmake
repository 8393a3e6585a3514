# Each source folder registers its Qt-free files into rkvcore and its widget
# files into the desktop program, so one folder can hold both halves.
define_property(GLOBAL PROPERTY RKV_CORE_SOURCES
  BRIEF_DOCS "rkvcore sources" FULL_DOCS "Qt-free sources of rkvcore")
define_property(GLOBAL PROPERTY RKV_GUI_SOURCES
  BRIEF_DOCS "rkv sources" FULL_DOCS "Qt widget sources of the desktop program")

function(rkv_core_sources)
  foreach(f IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY RKV_CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

function(rkv_gui_sources)
  foreach(f IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY RKV_GUI_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()
