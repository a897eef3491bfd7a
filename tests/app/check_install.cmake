# Installs the build into PREFIX and checks the files a desktop needs.
# Arguments: BUILD_DIR, PREFIX, PROGRAM (the executable's name).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${errors}")
endif()
foreach(file bin/${PROGRAM}
        share/applications/${PROGRAM}.desktop
        share/icons/hicolor/16x16/apps/${PROGRAM}.png
        share/icons/hicolor/32x32/apps/${PROGRAM}.png
        share/icons/hicolor/256x256/apps/${PROGRAM}.png
        share/icons/hicolor/scalable/apps/${PROGRAM}.svg
        share/metainfo/org.example.kolmaris.metainfo.xml
        share/man/man1/${PROGRAM}.1.gz)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
