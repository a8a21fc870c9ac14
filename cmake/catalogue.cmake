# Writes the game's texts of one gettext catalogue (PO) as a C++ header (OUT):
# the table NAME of (context, text) pairs, the text the translation, or with
# SOURCE the text translated from. Only texts with a context are the game's.
# Run as: cmake -DPO=... -DOUT=... -DNAME=... [-DSOURCE=ON] -P catalogue.cmake
file(STRINGS ${PO} lines ENCODING UTF-8)
list(APPEND lines "") # the last entry ends as any other
set(pairs "")
set(field "")
foreach(line IN LISTS lines)
    if(line MATCHES "^(msgctxt|msgid|msgstr) (\".*\")$")
        set(field ${CMAKE_MATCH_1})
        set(${field} "${CMAKE_MATCH_2}")
    elseif(line MATCHES "^\".*\"$" AND field)
        set(${field} "${${field}} ${line}") # adjacent literals, as in C++
    elseif(field)
        if(DEFINED msgctxt)
            if(SOURCE)
                set(msgstr "${msgid}")
            endif()
            string(APPEND pairs "    {${msgctxt}, ${msgstr}},\n")
        endif()
        unset(msgctxt)
        set(field "")
    endif()
endforeach()
file(WRITE ${OUT} "// Made from ${PO} by cmake/catalogue.cmake.\n#pragma once\n#include <string_view>\n#include <utility>\n"
    "namespace morvik::catalogue {\ninline constexpr std::pair<std::string_view, std::string_view> ${NAME}[] = {\n"
    "${pairs}};\n}\n")
