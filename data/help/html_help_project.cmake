# Writes the HTML Help project that chmcmd compiles, from the Qt help project and collection, so
# both viewers show the same topics, contents tree and keyword index:
#   cmake -DQHP=<quintrel.qhp> -DQHCP=<quintrel.qhcp> -DSTAGE=<folder of the topics>
#         -DOUTPUT=<file name of the compiled help> -P html_help_project.cmake
# In STAGE it writes Quintrel.hhp (the project), Quintrel.hhc (contents) and Quintrel.hhk
# (index). The viewer also finds contents and index by the compiled file's base name, so they
# carry it too. The index goes into the help as this text file only, with no binary index beside
# it: Windows' viewer would read the binary one, Wine's viewer and the help's test the text one,
# and then no test would see what Windows shows.
cmake_minimum_required(VERSION 3.25)

foreach(variable QHP QHCP STAGE OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "html_help_project.cmake: ${variable} is not set")
    endif()
endforeach()
get_filename_component(base "${OUTPUT}" NAME_WE)

include("${CMAKE_CURRENT_LIST_DIR}/list_safe_text.cmake")
function(write_restored path text)
    list_safe_restore("${text}" text)
    file(WRITE "${path}" "${text}")
endfunction()

read_list_safe("${QHP}" project)
read_list_safe("${QHCP}" collection)

# The compiled help's text files are read in the Western code page: anything else must be written
# as a character reference in the Qt help project and collection.
foreach(text project collection)
    if(${text} MATCHES "[^\t\n\r -~${kSemicolon}${kOpenBracket}${kCloseBracket}]")
        message(FATAL_ERROR "${QHP}, ${QHCP}: only ASCII text, other characters as &#NNN; references")
    endif()
endforeach()

# The value of attribute name in one tag, still escaped as XML (which HTML reads the same, but
# for &apos;).
function(attribute tag name out)
    if(tag MATCHES " ${name}=\"([^\"]*)\"")
        string(REPLACE "&apos${kSemicolon}" "&#39${kSemicolon}" value "${CMAKE_MATCH_1}")
        set(${out} "${value}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

function(element text name out)
    if(text MATCHES "<${name}>(.*)</${name}>")
        set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        message(FATAL_ERROR "html_help_project.cmake: no <${name}> element")
    endif()
endfunction()

# One entry of a contents or index file.
function(sitemap_entry indent name local out)
    set(${out} "${indent}<LI> <OBJECT type=\"text/sitemap\">
${indent}    <param name=\"Name\" value=\"${name}\">
${indent}    <param name=\"Local\" value=\"${local}\">
${indent}    </OBJECT>
" PARENT_SCOPE)
endfunction()

set(sitemap_head "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">
<HTML>
<HEAD>
<meta name=\"GENERATOR\" content=\"Quintrel's html_help_project.cmake\">
</HEAD>
<BODY>
<OBJECT type=\"text/site properties\">
    <param name=\"ImageType\" value=\"Folder\">
</OBJECT>
")
set(sitemap_tail "</BODY>
</HTML>
")

# Contents: every <section> in order; one that holds others opens a nested list.
element("${project}" toc toc)
string(REGEX MATCHALL "<[^>]*>" tags "${toc}")
set(contents "${sitemap_head}<UL>\n")
set(indent "")
set(default_topic "")
foreach(tag IN LISTS tags)
    if(tag MATCHES "^<section ")
        attribute("${tag}" title title)
        attribute("${tag}" ref ref)
        if(default_topic STREQUAL "")
            set(default_topic "${ref}")
        endif()
        sitemap_entry("${indent}    " "${title}" "${ref}" entry)
        string(APPEND contents "${entry}")
        if(NOT tag MATCHES "/>$")
            string(APPEND contents "${indent}    <UL>\n")
            string(APPEND indent "    ")
        endif()
    elseif(tag STREQUAL "</section>")
        string(SUBSTRING "${indent}" 4 -1 indent)
        string(APPEND contents "${indent}    </UL>\n")
    endif()
endforeach()
string(APPEND contents "</UL>\n${sitemap_tail}")

# Index: the keywords sorted as the Qt viewer sorts them, by their text ignoring case.
element("${project}" keywords keywords)
string(REGEX MATCHALL "<keyword [^>]*>" tags "${keywords}")
string(ASCII 4 kSeparator)
set(entries)
foreach(tag IN LISTS tags)
    attribute("${tag}" name name)
    attribute("${tag}" ref ref)
    set(text "${name}")
    foreach(pair "&lt${kSemicolon}|<" "&gt${kSemicolon}|>" "&quot${kSemicolon}|\"" "&#39${kSemicolon}|'"
                 "&amp${kSemicolon}|&")
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 entity)
        list(GET pair 1 character)
        string(REPLACE "${entity}" "${character}" text "${text}")
    endforeach()
    list(APPEND entries "${text}${kSeparator}${name}${kSeparator}${ref}")
endforeach()
list(SORT entries CASE INSENSITIVE)
set(index "${sitemap_head}<UL>\n")
foreach(entry IN LISTS entries)
    string(REPLACE "${kSeparator}" ";" entry "${entry}")
    list(GET entry 1 name)
    list(GET entry 2 ref)
    sitemap_entry("    " "${name}" "${ref}" line)
    string(APPEND index "${line}")
endforeach()
string(APPEND index "</UL>\n${sitemap_tail}")

# Files: the Qt project's <file> patterns, matched in the stage folder.
element("${project}" files patterns)
string(REGEX MATCHALL "<file>[^<]*</file>" patterns "${patterns}")
set(files)
foreach(pattern IN LISTS patterns)
    string(REGEX REPLACE "</?file>" "" pattern "${pattern}")
    file(GLOB matched RELATIVE "${STAGE}" "${STAGE}/${pattern}")
    if(NOT matched)
        message(FATAL_ERROR "html_help_project.cmake: nothing in ${STAGE} matches ${pattern}")
    endif()
    list(APPEND files ${matched})
endforeach()
list(SORT files)
list(JOIN files "\n" files)

# The window: contents, index and full-text search tabs beside the topic; the toolbar's hide,
# back, forward, home, print and options buttons. It opens on the contents.
element("${collection}" title title)
math(EXPR properties "0x20 | 0x100 | 0x400 | 0x2000" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR buttons "0x2 | 0x4 | 0x8 | 0x40 | 0x1000 | 0x2000" OUTPUT_FORMAT HEXADECIMAL)
set(window "main=\"${title}\",\"${base}.hhc\",\"${base}.hhk\",\"${default_topic}\",\"${default_topic}\",,,,,${properties},240,${buttons},,,,,,0,,0")

write_restored("${STAGE}/${base}.hhc" "${contents}")
write_restored("${STAGE}/${base}.hhk" "${index}")
# The index is kept as the sitemap above, not compiled into a binary one: chmcmd leaves the
# first two bytes of the binary index's map ($WWKeywordLinks/Map) unwritten, so they hold
# whatever its memory held and the file would differ from build to build. The viewer's Index tab
# is made from the sitemap instead.
write_restored("${STAGE}/${base}.hhp" "[OPTIONS]
Compatibility=1.1 or later
Compiled file=${OUTPUT}
Contents file=${base}.hhc
Index file=${base}.hhk
Default topic=${default_topic}
Default Window=main
Display compile progress=No
Full-text search=Yes
Binary Index=No
Language=0x409 English (United States)
Title=${title}

[WINDOWS]
${window}

[FILES]
${files}
")
