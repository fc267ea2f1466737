# Where udev reads the rules that packages install: the `udevdir` of udev's pkg-config file
# followed by "/rules.d", or /usr/lib/udev/rules.d where udev publishes no pkg-config file.
function(velq_default_udev_rules_dir out_var)
  set(dir /usr/lib/udev/rules.d)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_get_variable(udevdir udev udevdir)
    if(udevdir)
      set(dir "${udevdir}/rules.d")
    endif()
  endif()
  set(${out_var} "${dir}" PARENT_SCOPE)
endfunction()
