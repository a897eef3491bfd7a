# Compiles the configured resource script with the MinGW resource compiler and looks for the
# version strings in the result. Arguments: WINDRES, SCRIPT, RESOURCES (the folder its icon
# path starts from), OUTPUT, VERSION and PROGRAM (what the strings must say).
execute_process(
    COMMAND ${WINDRES} --preprocessor=cpp -I ${RESOURCES} -i ${SCRIPT} -O res -o ${OUTPUT}
    WORKING_DIRECTORY ${RESOURCES}
    RESULT_VARIABLE result
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "windres failed (${result}): ${errors}")
endif()

# Version strings are stored as UTF-16 in the compiled resource.
file(STRINGS ${OUTPUT} texts ENCODING UTF-16LE)
string(JOIN "\n" all ${texts})
foreach(expected "040704B0" "FileVersion" "ProductVersion" "${VERSION}" "InternalName"
        "${PROGRAM}.exe" "ProductName" "CompanyName" "Translation")
    string(FIND "${all}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the compiled resource lacks \"${expected}\"")
    endif()
endforeach()

# Three icon images: the group directory of an .ico starts with reserved 0, type 1, count 3.
file(READ ${RESOURCES}/icons/davudeviredidara.ico header LIMIT 6 HEX)
if(NOT header STREQUAL "000001000300")
    message(FATAL_ERROR "the icon should hold three images, header ${header}")
endif()

# Every resource (icons, icon group, version) carries German, as the version strings do:
# windres writes the compiled resource back as a script with one LANGUAGE line per change.
execute_process(COMMAND ${WINDRES} -i ${OUTPUT} -O rc
                OUTPUT_VARIABLE decompiled RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "windres could not read back the resource (${result}): ${errors}")
endif()
string(REGEX MATCHALL "LANGUAGE [0-9]+, [0-9]+" languages "${decompiled}")
list(REMOVE_DUPLICATES languages)
if(NOT languages STREQUAL "LANGUAGE 7, 1")
    message(FATAL_ERROR "resources should all be German (LANGUAGE 7, 1), found: ${languages}")
endif()
