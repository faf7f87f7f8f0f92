# Shared build helpers.

set(POSTAVO_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# postavo_library(NAME SOURCES_DIR [LINK libs...] [EXCLUDE regex...])
# Every .cpp in the folder (not below it) goes into the library; the folder is its include root.
# A library named *_model is model code (see postavo_check_model_links).
function(postavo_library name dir)
  cmake_parse_arguments(ARG "" "" "LINK;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB hdrs CONFIGURE_DEPENDS ${dir}/*.h)
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX ${ex})
  endforeach()
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${dir})
  target_compile_options(${name} PRIVATE ${POSTAVO_WARNINGS})
  if(ARG_LINK)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  endif()
  if(name MATCHES "_model$")
    set_property(GLOBAL APPEND PROPERTY POSTAVO_MODEL_TARGETS ${name})
  endif()
endfunction()

# postavo_tests(FOLDER [MAIN gui|widgets] LINK libs...)
# Each .cpp file of the calling folder is one test program (one behaviour group), run headless
# and named FOLDER.<file>; support_*.cpp files there are compiled into every program instead.
# MAIN gives each program the shared main of tests/support (a GUI application for model tests,
# a widgets application for window tests) and the shared test helpers (postavo_test_support).
# Model test programs (MAIN gui) are checked not to link the widgets.
function(postavo_tests folder)
  cmake_parse_arguments(ARG "" "MAIN" "LINK" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/support_[^/]*\\.cpp$")
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp)
  foreach(src ${srcs})
    get_filename_component(stem ${src} NAME_WE)
    set(exe test_${folder}_${stem})
    add_executable(${exe} ${src} ${support})
    target_link_libraries(${exe} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock)
    target_compile_options(${exe} PRIVATE ${POSTAVO_WARNINGS})
    if(ARG_MAIN)
      target_sources(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/testmain.cpp)
      target_link_libraries(${exe} PRIVATE postavo_test_support)
      if(ARG_MAIN STREQUAL "widgets")
        target_compile_definitions(${exe} PRIVATE POSTAVO_TEST_WIDGETS)
        target_link_libraries(${exe} PRIVATE Qt6::Widgets)
      elseif(ARG_MAIN STREQUAL "gui")
        target_link_libraries(${exe} PRIVATE Qt6::Gui)
        set_property(GLOBAL APPEND PROPERTY POSTAVO_MODEL_TARGETS ${exe})
      else()
        message(FATAL_ERROR "postavo_tests: MAIN is gui or widgets, not ${ARG_MAIN}")
      endif()
    endif()
    target_compile_definitions(${exe} PRIVATE
      POSTAVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      POSTAVO_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared"
      POSTAVO_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME ${folder}.${stem} COMMAND ${exe})
    set_tests_properties(${folder}.${stem} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime;POSTAVO_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp"
      TIMEOUT 600)
  endforeach()
endfunction()

# postavo_fuzz_target(NAME SOURCE LINK libs...)
# SOURCE defines LLVMFuzzerTestOneInput. Always builds NAME_replay, run by CTest over the
# corpus folder corpus/NAME beside the source; with POSTAVO_BUILD_FUZZ and clang also builds
# the libFuzzer program NAME.
function(postavo_fuzz_target name source)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  add_executable(${name}_replay ${source} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(${name}_replay PRIVATE ${ARG_LINK})
  add_test(NAME fuzz.${name}
           COMMAND ${name}_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  if(POSTAVO_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE ${ARG_LINK})
  endif()
endfunction()

# ---- Layers ----
# Model code (the record store, every folder's model/ library, the batch tool, the fuzz targets of
# model parsers and the model tests) never links the widgets. postavo_library registers libraries
# named *_model; other targets register with postavo_model_target.
function(postavo_model_target)
  set_property(GLOBAL APPEND PROPERTY POSTAVO_MODEL_TARGETS ${ARGN})
endfunction()

# Fails the configuration when a registered model target links Qt6::Widgets or one of our *_widgets
# libraries, directly or through our own libraries. Qt's libraries are not followed: PrintSupport
# brings Widgets along for the platform's printers, which is allowed.
function(postavo_check_model_links)
  get_property(targets GLOBAL PROPERTY POSTAVO_MODEL_TARGETS)
  foreach(t ${targets})
    set(seen "")
    set(queue ${t})
    while(queue)
      list(POP_FRONT queue current)
      if(current IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${current})
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(libraries ${current} ${property})
        if(NOT libraries)
          continue()
        endif()
        foreach(library ${libraries})
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
          if(library STREQUAL "Qt6::Widgets" OR library MATCHES "_widgets$")
            message(FATAL_ERROR "${t} is model code but links ${library} (through ${current})")
          endif()
          if(TARGET ${library})
            get_target_property(imported ${library} IMPORTED)
            if(NOT imported)
              list(APPEND queue ${library})
            endif()
          endif()
        endforeach()
      endforeach()
    endwhile()
  endforeach()
endfunction()
