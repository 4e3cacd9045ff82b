# cmake -DPLUGIN=<dll> -DINI=<ini> -DDIR=<folder> -P PrepareSession.cmake
# A fresh folder holding a copy of the plug-in and the session's settings beside it, so that
# every run starts from the same settings (the plug-in writes them back when it is torn down).
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
file(COPY "${PLUGIN}" DESTINATION "${DIR}")
configure_file("${INI}" "${DIR}/VelkCursorwake.ini" COPYONLY)
