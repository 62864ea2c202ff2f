# A Debian package for every user of a machine: `cpack -G DEB` in the build
# folder makes veroridovuz_<version>_<arch>.deb, installing under /usr (the
# program, both menu entries and the README). The libraries it links come from
# dpkg-shlibdeps; the plugins and libraries it loads at run time are named
# here, since no tool can see them in the binary. The files by which
# xscreensaver and xsecurelock know the show go into their folders without
# depending on them.

set(CPACK_PACKAGE_NAME veroridovuz)
set(CPACK_PACKAGE_VENDOR "Veroridovuz")
set(CPACK_PACKAGE_CONTACT "Veroridovuz developers <veroridovuz@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slide show of your own pictures and music as a screen saver")
set(CPACK_PACKAGE_DESCRIPTION
    "While the computer is idle, Veroridovuz shows a full-screen slide show of the\n"
    "user's own pictures on the primary screen, covers every other screen in black\n"
    "and plays the user's own music behind it. Any mouse movement, click or key\n"
    "ends it. Two settings dialogs build the picture list and the play list.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Loaded at run time: libheif for HEIC and AVIF (opened with the first such
# picture; 1.12 has every function the program calls), the image formats that
# Qt's plugins read (WebP, TIFF; Qt's X11 platform, JPEG and GIF come with its
# Gui library), and the GStreamer elements behind the music: reading and
# decoding MP3 and WAV, and the output to the sound server.
set(VZ_RUNTIME_DEPENDS
  "libheif1 (>= 1.12.0)"
  qt6-image-formats-plugins
  gstreamer1.0-plugins-base
  gstreamer1.0-plugins-good
  gstreamer1.0-libav
  gstreamer1.0-pulseaudio
)
# Decoders that the program links itself (libjpeg, Little CMS) need no entry:
# dpkg-shlibdeps finds them.
list(JOIN VZ_RUNTIME_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xsecurelock | xss-lock | xautolock | swayidle")

include(CPack)

if(BUILD_TESTING)
  add_test(NAME package_contents COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
           -DBUILD=${PROJECT_BINARY_DIR} -P ${CMAKE_CURRENT_LIST_DIR}/CheckPackage.cmake)
  set_tests_properties(package_contents PROPERTIES LABELS package TIMEOUT 120)
endif()
