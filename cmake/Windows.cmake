# The Windows program and its tests.
enable_language(RC)

# Windows 7 SP1 is the oldest system the program runs on: _WIN32_WINNT keeps most newer
# declarations out of the headers, and the program's header and manifest say so.
set(torvane_windows_definitions UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# Only system DLLs at run time: the compiler's own runtime goes into the executable.
if(MINGW)
  set(torvane_static_runtime -static -static-libgcc -static-libstdc++)
  # No folder of this machine goes into a program (the tests' messages name their source
  # files), so the same sources give the same bytes wherever they are checked out and built.
  set(torvane_path_maps -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  add_compile_options(${torvane_path_maps})
  target_compile_options(torvane_core PRIVATE ${torvane_path_maps})
elseif(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  # The core was made before this file was read.
  set_property(TARGET torvane_core PROPERTY MSVC_RUNTIME_LIBRARY ${CMAKE_MSVC_RUNTIME_LIBRARY})
endif()

add_library(torvane_platform STATIC
  platform/ansi_text.cpp
  platform/failure.cpp
  platform/files.cpp
  platform/process.cpp
  platform/folder_picker.cpp
  platform/system_function.cpp
  platform/shell_open.cpp)
target_link_libraries(torvane_platform PUBLIC torvane_core)
target_compile_definitions(torvane_platform PUBLIC ${torvane_windows_definitions})
torvane_warnings(torvane_platform)

add_executable(Brelix WIN32
  shell/main.cpp
  shell/form1.cpp
  shell/picture_box.cpp
  shell/pictures.cpp
  shell/dpi.cpp
  shell/keyboard_focus.cpp
  shell/accessibility.cpp
  shell/failure_report.cpp
  generate/go_button.cpp
  source_path/source_field.cpp
  source_path/folder_browser.cpp
  links/link_pictures.cpp
  resources/brelix.rc)
target_link_libraries(Brelix PRIVATE torvane_platform ole32 uuid ${torvane_static_runtime})
torvane_warnings(Brelix)

# Where the three link pictures lead, the maker's to set. The defaults are placeholders under
# example.org and example.com, which lead nowhere. Inside the donation page's query, dots,
# hyphens, colons and the at sign are percent-encoded, as the payment service expects;
# underscores are not.
set(TORVANE_DONATION_PAGE "https://pay.example.org/donate?cmd=_donations\
&business=ilse%2Emarnow%40example%2Ecom&lc=DE&item_name=Ilse%20Marnow&item_number=brelix\
&currency_code=EUR&bn=TV%2DDonate_Button%3ANonHosted"
  CACHE STRING "The donation page that the first picture opens: https://, with its query")
set(TORVANE_WEB_SITE "www.example.org"
  CACHE STRING "The web site's host, without scheme or path: the second picture opens http://host")
set(TORVANE_MAIL_ADDRESS "ilse.marnow@example.com"
  CACHE STRING "The mail address that the third picture writes a new message to")
# Checked for the forms the pictures need, in characters that a web address holds as they
# are and that a string literal holds without an escape.
set(torvane_host "[A-Za-z0-9]([-A-Za-z0-9]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([-A-Za-z0-9]*[A-Za-z0-9])?)+")
set(torvane_url_character "([-A-Za-z0-9._~!$&'()*+,;=:@/]|%[0-9A-Fa-f][0-9A-Fa-f])")
function(torvane_check_link option pattern form)
  if(NOT "${${option}}" MATCHES "^${pattern}$")
    message(FATAL_ERROR "${option} is \"${${option}}\", not ${form}")
  endif()
endfunction()
torvane_check_link(TORVANE_DONATION_PAGE
  "https://${torvane_host}(:[0-9]+)?(/${torvane_url_character}*)?\\?(${torvane_url_character}|\\?)+"
  "a secure web address with its query (https://host/path?query)")
torvane_check_link(TORVANE_WEB_SITE "${torvane_host}" "a bare host name (www.example.org)")
torvane_check_link(TORVANE_MAIL_ADDRESS "[-A-Za-z0-9._+]+@${torvane_host}"
  "a mail address (name@example.org)")
configure_file(links/link_targets.hpp.in links/link_targets.hpp @ONLY)
target_include_directories(Brelix PRIVATE ${CMAKE_CURRENT_BINARY_DIR})

# The version record's text from project()'s four numbers: "1.00" for 1.0.0.0, the minor
# number in two digits, then the patch and tweak numbers where they are not 0.
set(torvane_version_text ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
if(PROJECT_VERSION_MINOR LESS 10)
  set(torvane_version_text ${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR})
endif()
if(PROJECT_VERSION_PATCH OR PROJECT_VERSION_TWEAK)
  string(APPEND torvane_version_text ".${PROJECT_VERSION_PATCH}")
endif()
if(PROJECT_VERSION_TWEAK)
  string(APPEND torvane_version_text ".${PROJECT_VERSION_TWEAK}")
endif()

# The resource script finds the version numbers and text (a header) and the manifest, both
# configured from the project's version, in the build folder. The other files it names are
# no includes, so the build is told that it depends on them.
configure_file(resources/brelix_version.h.in resources/brelix_version.h @ONLY)
configure_file(resources/brelix.manifest.in resources/brelix.manifest @ONLY)
set(torvane_resource_files brelix.ico mail.bmp web_site.bmp donate.bmp go_at_rest.bmp
  go_pressed.bmp watermark.bmp)
list(TRANSFORM torvane_resource_files PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/resources/)
set_source_files_properties(resources/brelix.rc PROPERTIES
  INCLUDE_DIRECTORIES ${CMAKE_CURRENT_BINARY_DIR}/resources
  OBJECT_DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/resources/brelix.manifest;${torvane_resource_files}")

if(MINGW)
  # Unused library code and symbols would more than double the size of the program.
  target_compile_options(Brelix PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(Brelix PRIVATE -municode -s -Wl,--gc-sections
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,1
    -Wl,--major-os-version,6,--minor-os-version,1)
elseif(MSVC)
  # The resource script embeds the manifest already.
  target_link_options(Brelix PRIVATE /SUBSYSTEM:WINDOWS,6.01 /MANIFEST:NO)
endif()
set_target_properties(Brelix PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

if(BUILD_TESTING)
  include(cmake/WindowsTests.cmake)
endif()
