# The default rules directory follows udev's pkg-config file, and is /usr/lib/udev/rules.d
# without one. Each case gives pkg-config a search directory of its own.
cmake_minimum_required(VERSION 3.25)
include(${MODULE})
unset(ENV{PKG_CONFIG_PATH})

# name | udev.pc's variable lines, comma-separated ("" for no udev.pc) | the directory expected
set(cases
    "plain|udevdir=/opt/udev|/opt/udev/rules.d"
    "debian12|udev_dir=/lib/udev,udevdir=\${udev_dir}|/lib/udev/rules.d"
    "none||/usr/lib/udev/rules.d")
set(failures 0)
foreach(row IN LISTS cases)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 name)
  list(GET fields 1 variables)
  list(GET fields 2 expected)
  set(dir "${WORK_DIR}/${name}")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
  if(variables)
    string(REPLACE "," "\n" variables "${variables}")
    file(WRITE "${dir}/udev.pc" "${variables}\n\nName: udev\nDescription: udev\nVersion: 252\n")
  endif()
  set(ENV{PKG_CONFIG_LIBDIR} "${dir}")
  velq_default_udev_rules_dir(got)
  if(NOT got STREQUAL expected)
    message(SEND_ERROR "${name}: got \"${got}\", expected \"${expected}\"")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
