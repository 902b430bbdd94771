# CPack runs this after installing into its staging folder. For the .deb it adds what
# Debian's policy asks of a package beyond a plain install: a compressed manual page,
# a changelog, the licence as a machine-readable copyright file, and zsh completion
# where Debian's zsh looks for it.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/share/doc/veltrin)
find_program(GZIP gzip REQUIRED)

# Debian compresses with the highest level and no time stamp.
function(compress file)
  execute_process(COMMAND ${GZIP} -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

compress(${root}/share/man/man1/veltrin.1)

set(changelog ${CPACK_VELTRIN_SOURCE_DIR}/packaging/debian/changelog)
file(STRINGS ${changelog} newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^veltrin \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "${changelog} begins with \"${newest}\": add an entry for ${CPACK_PACKAGE_VERSION}")
endif()
file(COPY_FILE ${changelog} ${doc}/changelog)
compress(${doc}/changelog)

# LICENSE: a title, the copyright line, then the licence text.
file(STRINGS ${doc}/LICENSE lines)
list(FILTER lines INCLUDE REGEX "^Copyright ")
string(REGEX REPLACE "^Copyright (\\(c\\) )?" "" holders "${lines}")
file(READ ${doc}/LICENSE license)
string(REGEX REPLACE "^.*\nCopyright [^\n]*\n\n" "" license "${license}")
string(REGEX REPLACE "\n+$" "" license "${license}")
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " license "${license}")
file(WRITE ${doc}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Veltrin\n"
  "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
  "Source: ${CPACK_PACKAGE_HOMEPAGE_URL}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${holders}\n"
  "License: Expat\n"
  " ${license}\n")
file(REMOVE ${doc}/LICENSE)

file(MAKE_DIRECTORY ${root}/share/zsh/vendor-completions)
file(RENAME ${root}/share/zsh/site-functions/_veltrin ${root}/share/zsh/vendor-completions/_veltrin)
file(REMOVE_RECURSE ${root}/share/zsh/site-functions)
