# Runs at install time, when the prefix is known (cmake --install --prefix, or CPack's): writes the
# menu entry with the absolute path of the program it installs, so that the entry starts that
# program whatever the PATH of the session. Expects menu_entry_template, menu_entry_staged,
# program_dir and applications_dir (both relative to the prefix).
set(program "${CMAKE_INSTALL_PREFIX}/${program_dir}/evolution-simulation")
# The Exec key's quoting: a path of plain characters stands as it is; any other is quoted, with
# the characters that are special inside the quotes escaped, and every backslash doubled once
# more for the key's own escaping. A percent sign is always doubled.
string(REPLACE "%" "%%" menu_command "${program}")
if(NOT menu_command MATCHES "^[A-Za-z0-9/._+%-]+$")
  string(REGEX REPLACE "([\\\\\"`$])" "\\\\\\1" menu_command "${menu_command}")
  string(REPLACE "\\" "\\\\" menu_command "${menu_command}")
  set(menu_command "\"${menu_command}\"")
endif()
configure_file("${menu_entry_template}" "${menu_entry_staged}" @ONLY)
file(INSTALL "${menu_entry_staged}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${applications_dir}")
