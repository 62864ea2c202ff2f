# Makes the Debian package into a folder of its own and checks what it holds:
# only files under /usr, among them the program, both menu entries, the
# files by which the screen lockers find it and the README, and dependencies both computed from the binary and named for the
# plugins. Run by CTest as: cmake -DCPACK=... -DBUILD=... -P CheckPackage.cmake
set(out "${BUILD}/package-check")
file(REMOVE_RECURSE "${out}")
execute_process(COMMAND "${CPACK}" -G DEB -B "${out}" WORKING_DIRECTORY "${BUILD}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb "${out}/veroridovuz_*.deb")
if(rc OR NOT deb)
  message(FATAL_ERROR "cpack made no package:\n${log}")
endif()
execute_process(COMMAND dpkg-deb -c "${deb}" OUTPUT_VARIABLE listing)
execute_process(COMMAND dpkg-deb -f "${deb}" Depends OUTPUT_VARIABLE depends)
message(STATUS "${deb}\n${listing}Depends: ${depends}")

# A link's line ends in its target; the path is the word before the arrow.
string(REGEX REPLACE " -> [^\n]*" "" paths "${listing}")
string(REGEX MATCHALL "[^ ]+\n" paths "${paths}")
foreach(path IN LISTS paths)
  if(NOT path MATCHES "^\\./usr/")
    message(FATAL_ERROR "installs outside /usr: ${path}")
  endif()
endforeach()
if(NOT listing MATCHES " \\./usr/libexec/xsecurelock/saver_veroridovuz -> \\.\\./\\.\\./bin/veroridovuz\n")
  message(FATAL_ERROR "the package lacks the saver that xsecurelock finds, a link to /usr/bin/veroridovuz")
endif()
foreach(path usr/bin/veroridovuz usr/share/applications/veroridovuz.desktop
        usr/share/applications/screensavers/veroridovuz.desktop usr/share/doc/veroridovuz/README.md
        usr/share/xscreensaver/config/veroridovuz.xml)
  if(NOT listing MATCHES " \\./${path}\n")
    message(FATAL_ERROR "the package lacks /${path}")
  endif()
endforeach()
foreach(package libc6 libqt6widgets6 libqt6multimedia6 libjpeg62-turbo libheif1
        qt6-image-formats-plugins gstreamer1.0-plugins-good gstreamer1.0-pulseaudio)
  if(NOT depends MATCHES "(^|, )${package}( |,|$)")
    message(FATAL_ERROR "the package does not depend on ${package}")
  endif()
endforeach()
file(REMOVE_RECURSE "${out}")
