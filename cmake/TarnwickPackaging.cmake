# The Debian package: `cpack -G DEB` in a build folder (./package builds a
# release folder and runs it). Everything the install rules put under the
# prefix goes into one package, tarnwick; the programs' debugging symbols go
# into tarnwick-dbgsym (a .ddeb), found by gdb through the build id.
# With SOURCE_DATE_EPOCH set (./package takes it from the changelog) every
# time stamp in the archives is that moment, so a build is reproducible.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Osgrel Software")
set(CPACK_PACKAGE_CONTACT "Osgrel Software <tarnwick@osgrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks that partner pages still link back to your site")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The debuginfo package strips the programs itself (objcopy), after taking
# their symbols out into usr/lib/debug/.build-id/xx/yyyy.debug; CPack's own
# stripping would leave it no symbols to take.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.osgrel.example/tarnwick")
# The synopsis is the summary above; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarnwick (Osgrel Tarnwick Ambrel) is for site owners who swap links with
partner sites. It keeps a profile per advertiser's site: the partner pages
that should link to it and their webmasters' mail addresses.
.
The desktop program checks every page, shows whether the link is still
there, mails the webmaster of a page that lost it and saves a text or HTML
report. The command-line companion tarnwick-cli reads the same profiles,
for scheduled checks and scripts.")
# Depends is computed from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help and the web site open through xdg-open; https pages need the
# certificate authorities.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
