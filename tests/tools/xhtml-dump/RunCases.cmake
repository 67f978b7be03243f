# A case is an input file NAME.MODE in CASES with its expected output NAME.MODE.expected beside
# it, and optionally NAME.MODE.args with more arguments ("{cases}" in them names the folder of the
# cases). "xhtml-dump MODE NAME.MODE [ARGS]" must exit 0 and print exactly the expectation. Bad
# arguments must exit 2 with a usage line.

function(fail message)
    message(SEND_ERROR "${message}")
    set(failed TRUE PARENT_SCOPE)
endfunction()

set(failed FALSE)
file(GLOB expectations "${CASES}/*.expected")
list(LENGTH expectations count)
if(count EQUAL 0)
    message(FATAL_ERROR "no cases in ${CASES}")
endif()

foreach(expected IN LISTS expectations)
    string(REGEX REPLACE "\\.expected$" "" input "${expected}")
    get_filename_component(name "${input}" NAME)
    string(REGEX REPLACE ".*\\." "" mode "${name}")
    set(arguments "")
    if(EXISTS "${input}.args")
        file(STRINGS "${input}.args" arguments)
        string(REPLACE "{cases}" "${CASES}" arguments "${arguments}")
        separate_arguments(arguments UNIX_COMMAND "${arguments}")
    endif()
    execute_process(COMMAND "${TOOL}" ${mode} "${input}" ${arguments}
        OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
    file(READ "${expected}" wanted)
    if(NOT status EQUAL 0)
        fail("${name}: exit status ${status}\n${errors}")
    elseif(NOT actual STREQUAL wanted)
        file(WRITE "${WORK}/${name}.actual" "${actual}")
        execute_process(COMMAND diff -u "${expected}" "${WORK}/${name}.actual")
        fail("${name}: output differs from ${name}.expected (actual in ${WORK})")
    endif()
endforeach()

set(badCount 0)
foreach(arguments IN ITEMS "" "markup" "markup;a;b" "no-such-mode;x" "markup;${CASES}/missing"
        "style" "style;${CASES}/missing" "style;${CASES}/text.style;--font-size;big"
        "style;${CASES}/text.style;--font-size" "sheet;${CASES}/page.sheet;x"
        "url" "url;a;b;c" "i18n;${CASES}/precedence.i18n" "i18n;${CASES}/missing;de"
        "substitute;${CASES}/page.substitute;${CASES}/missing;de" "views" "views;a;b"
        "layout" "layout;${CASES}/flow.layout;--width" "layout;${CASES}/flow.layout;--dpi;0"
        "layout;${CASES}/flow.layout;--height;tall" "layout;${CASES}/flow.layout;x")
    math(EXPR badCount "${badCount} + 1")
    execute_process(COMMAND "${TOOL}" ${arguments} ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 2 OR NOT errors MATCHES "usage: xhtml-dump ")
        fail("xhtml-dump ${arguments}: exit status ${status}, expected 2 with a usage line")
    endif()
endforeach()

# A file that cannot be read is no usage error.
foreach(mode IN ITEMS views layout)
    execute_process(COMMAND "${TOOL}" ${mode} "${CASES}/missing" ERROR_VARIABLE errors
        RESULT_VARIABLE status)
    if(NOT status EQUAL 1 OR NOT errors MATCHES "cannot read")
        fail("xhtml-dump ${mode} of a missing file: exit status ${status}, expected 1")
    endif()
endforeach()

if(failed)
    message(FATAL_ERROR "xhtml-dump cases failed")
endif()
message(STATUS "${count} xhtml-dump cases and ${badCount} bad-argument checks passed")
