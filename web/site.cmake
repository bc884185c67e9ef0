# site.cmake -- cmake -DSOURCE=web -DSITE=build/web/site -DVERSION=1.0.0 -P site.cmake: puts the
# page and its other files beside the linked index.js, with the version in the page's footer, and
# writes the service worker with a cache name that changes whenever any of the site's files does.
set(PROJECT_VERSION ${VERSION})
configure_file(${SOURCE}/index.html ${SITE}/index.html @ONLY)
foreach(name page.css manifest.webmanifest)
  configure_file(${SOURCE}/${name} ${SITE}/${name} COPYONLY)
endforeach()
configure_file(${SOURCE}/../resources/icon/patcher.svg ${SITE}/icon.svg COPYONLY)
set(contents "")
foreach(name index.html index.js page.css manifest.webmanifest icon.svg)
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND contents ${digest})
endforeach()
string(SHA256 digest "${contents}")
string(SUBSTRING ${digest} 0 12 digest)
set(SITE_VERSION ${VERSION}-${digest})
configure_file(${SOURCE}/sw.js ${SITE}/sw.js @ONLY)
