# Writes the AppStream file from its template:
#   cmake -DTEMPLATE=... -DOUTPUT=... -DAPP_ID=... -DVERSION=... -DRELEASE_DATE=... [-DHOMEPAGE=...]
#         [-DBUGTRACKER=...] [-DSOURCE_URL=...] [-DSCREENSHOT_URL=... -DSCREENSHOT_WIDTH=... -DSCREENSHOT_HEIGHT=...]
#         -P metainfo.cmake
# An identity URL or the screenshot that is not given is left out, so no stand-in address ships.
set(URLS "")
foreach(pair "homepage;HOMEPAGE" "bugtracker;BUGTRACKER" "vcs-browser;SOURCE_URL")
  list(GET pair 0 type)
  list(GET pair 1 variable)
  if(${variable})
    string(APPEND URLS "\n  <url type=\"${type}\">${${variable}}</url>")
  endif()
endforeach()
set(SCREENSHOTS "")
if(SCREENSHOT_URL)
  string(APPEND SCREENSHOTS "
  <screenshots>
    <screenshot type=\"default\">
      <caption>A play under way: settled blocks below, a piece falling in</caption>
      <image type=\"source\" width=\"${SCREENSHOT_WIDTH}\" height=\"${SCREENSHOT_HEIGHT}\">${SCREENSHOT_URL}</image>
    </screenshot>
  </screenshots>")
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
