# cmake -DEMULATOR=<runner> -DDEVHOST=<exe> -DPLUGIN=<dll> -DSESSION=<idle session> -DSAMPLE=<ini> -DDIR=<folder>
#       [-DRUN_PATH_PREFIX=Z:] -P CheckSampleIni.cmake
# The sample settings file of the distribution must hold exactly what the plug-in writes when
# it starts without a settings file: its defaults, in its sections and order.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
file(COPY "${PLUGIN}" DESTINATION "${DIR}")
execute_process(
    COMMAND ${EMULATOR} ${DEVHOST} --plugin "${RUN_PATH_PREFIX}${DIR}/VelkCursorwake.dll"
            --script "${RUN_PATH_PREFIX}${SESSION}" --log "${RUN_PATH_PREFIX}${DIR}/log.txt"
    RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0 OR NOT EXISTS "${DIR}/VelkCursorwake.ini")
    message(FATAL_ERROR "the development host did not run the plug-in to its end (${status})")
endif()

# Sections and key=value lines, comments and blank lines left out.
function(read_settings path out)
    file(STRINGS "${path}" lines ENCODING UTF-8)
    set(settings "")
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line STREQUAL "" OR line MATCHES "^;")
            continue()
        endif()
        list(APPEND settings "${line}")
    endforeach()
    set(${out} "${settings}" PARENT_SCOPE)
endfunction()

read_settings("${DIR}/VelkCursorwake.ini" written)
read_settings("${SAMPLE}" sample)
if(NOT written STREQUAL sample)
    string(REPLACE ";" "\n  " written "${written}")
    string(REPLACE ";" "\n  " sample "${sample}")
    message(FATAL_ERROR "the sample settings differ from the plug-in's defaults.\n"
                        "The plug-in writes:\n  ${written}\nThe sample holds:\n  ${sample}")
endif()
message(STATUS "the sample holds the plug-in's defaults")
