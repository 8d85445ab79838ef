# Turns a program's --help text into its manual page, gzipped, at build time: run as
#   cmake -DPROGRAM=path -DNAME=name -DSUMMARY=text -DVERSION=x.y.z -DSEE_ALSO="a b c"
#         -DOUTPUT=name.1.gz -P man_page.cmake
# The help is asked for with no display in the environment, as a player's terminal may have
# none, and a program that cannot answer then fails the build.

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            --unset=QT_QPA_PLATFORM ${PROGRAM} --help
    OUTPUT_VARIABLE help
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NAME} --help failed: ${status}")
endif()

# roff reads a backslash as an escape and a line starting with '.' or "'" as a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name "${NAME}")
set(see_also "")
string(REPLACE " " ";" others "${SEE_ALSO}")
foreach(other IN LISTS others)
    if(NOT other STREQUAL NAME)
        string(REPLACE "-" "\\-" other "${other}")
        list(APPEND see_also "\\fB${other}\\fR(1)")
    endif()
endforeach()
list(JOIN see_also ", " see_also)

get_filename_component(folder "${OUTPUT}" DIRECTORY)
string(REGEX REPLACE "\\.gz$" "" page "${OUTPUT}")
file(MAKE_DIRECTORY "${folder}")
file(WRITE "${page}" ".TH ${title} 1 \"\" \"corvan ${VERSION}\" \"User Commands\"
.SH NAME
${name} \\- ${SUMMARY}
.SH DESCRIPTION
.nf
${help}.fi
.SH SEE ALSO
${see_also}
")
# -n leaves the time and name out of the header, so that the same page packs the same bytes.
execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${page} failed: ${status}")
endif()
