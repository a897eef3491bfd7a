# Installs the build into PREFIX and checks the files a desktop needs.
# Arguments: BUILD_DIR, PREFIX.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${errors}")
endif()
foreach(file bin/Davudeviredidara
        share/applications/Davudeviredidara.desktop
        share/icons/hicolor/16x16/apps/Davudeviredidara.png
        share/icons/hicolor/32x32/apps/Davudeviredidara.png
        share/icons/hicolor/256x256/apps/Davudeviredidara.png
        share/icons/hicolor/scalable/apps/Davudeviredidara.svg
        share/metainfo/org.example.kolmaris.metainfo.xml
        share/man/man1/Davudeviredidara.1.gz)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
