# The Qt layer and the applications built on it.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

file(GLOB VX_SHELL_SOURCES CONFIGURE_DEPENDS src/shell/*.cpp src/shell/*.h)
if(VX_SHELL_SOURCES)
  add_library(vxtools_shell ${VX_SHELL_SOURCES})
  set_target_properties(vxtools_shell PROPERTIES AUTOMOC ON)
  target_compile_definitions(vxtools_shell PRIVATE VXTOOLS_VERSION="${PROJECT_VERSION}")
  target_include_directories(vxtools_shell PRIVATE ${VX_PRIVATE_INCLUDE})
  target_link_libraries(vxtools_shell PUBLIC vxtools Qt6::Widgets)
  # A desktop program gets the ready font with the application layer.
  if(TARGET vxfonts)
    target_link_libraries(vxtools_shell PUBLIC vxfonts)
  endif()
endif()

if(VX_BUILD_APPS AND TARGET vxtools_shell AND TARGET streifenwerk_program AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/src/demo/streifenwerk_main.cpp)
  add_executable(Streifenwerk src/demo/streifenwerk_main.cpp)
  target_link_libraries(Streifenwerk PRIVATE vxtools_shell streifenwerk_program)
endif()

if(VX_BUILD_APPS AND TARGET vxtools_shell AND TARGET textfenster_program)
  add_executable(Textfenster src/demo/textdemo_main.cpp)
  target_link_libraries(Textfenster PRIVATE vxtools_shell textfenster_program)
endif()

if(VX_BUILD_APPS AND TARGET vxtools_shell AND TARGET malkasten_program)
  add_executable(Malkasten src/demo/malkasten_main.cpp)
  target_link_libraries(Malkasten PRIVATE vxtools_shell malkasten_program)
endif()
