# The compiled HTML Help file read back with extract_chmLib and held against the Qt help project:
#   cmake -DCHM=<Quintrel.chm> -DEXTRACT=<extract_chmLib> -DSOURCE=<data/help> -DWORK=<folder>
#         -P html_help_file_test.cmake
# Fails with a list of what is wrong: a topic file missing or changed, a contents entry or keyword
# missing, moved or extra, a binary index beside the text one, a link, contents entry or keyword
# that leads to a file that is not in the help or to an anchor that is not in its file.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${EXTRACT}" "${CHM}" "${WORK}" RESULT_VARIABLE status
                OUTPUT_QUIET ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}")
    message(FATAL_ERROR "extract_chmLib could not read ${CHM}: ${output}")
endif()

set(problems)
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

include("${SOURCE}/list_safe_text.cmake")

function(value_of tag name out)
    string(REGEX MATCH "${name}=\"([^\"]*)\"" found "${tag}")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

read_list_safe("${SOURCE}/quintrel.qhp" project)

# Contents as "depth|title|ref" in order: from the project's nested <section>s ...
string(REGEX MATCH "<toc>.*</toc>" toc "${project}")
string(REGEX MATCHALL "</?section[^>]*>" tags "${toc}")
set(expected_contents)
set(depth 0)
foreach(tag IN LISTS tags)
    if(tag STREQUAL "</section>")
        math(EXPR depth "${depth} - 1")
    else()
        value_of("${tag}" title title)
        value_of("${tag}" ref ref)
        list(APPEND expected_contents "${depth}|${title}|${ref}")
        if(NOT tag MATCHES "/>$")
            math(EXPR depth "${depth} + 1")
        endif()
    endif()
endforeach()

# ... and from the compiled file's sitemap: each <UL> one level deeper, each entry a Name and a
# Local.
function(sitemap_entries extension with_depth out)
    file(GLOB found "${WORK}/*.${extension}")
    list(LENGTH found count)
    if(NOT count EQUAL 1)
        set(${out} "no single .${extension} file in the help (${count})" PARENT_SCOPE)
        return()
    endif()
    read_list_safe("${found}" sitemap)
    string(REGEX MATCHALL "</?[Uu][Ll]>|<param name=\"(Name|Local)\" value=\"[^\"]*\">" tags
                          "${sitemap}")
    set(entries)
    set(depth -1)
    foreach(tag IN LISTS tags)
        if(tag MATCHES "^<[Uu][Ll]>$")
            math(EXPR depth "${depth} + 1")
        elseif(tag MATCHES "^</[Uu][Ll]>$")
            math(EXPR depth "${depth} - 1")
        elseif(tag MATCHES "name=\"Name\"")
            value_of("${tag}" value name)
        else()
            value_of("${tag}" value local)
            if(with_depth)
                list(APPEND entries "${depth}|${name}|${local}")
            else()
                list(APPEND entries "${name}|${local}")
            endif()
        endif()
    endforeach()
    set(${out} "${entries}" PARENT_SCOPE)
endfunction()

# One problem, with both lists a line per entry, when the help's list is not the project's.
function(expect_same_list what found expected)
    if(NOT found STREQUAL expected)
        string(REPLACE ";" "\n  " found "${found}")
        string(REPLACE ";" "\n  " expected "${expected}")
        problem("${what} differ from the project's:\n  ${found}\nexpected:\n  ${expected}")
        set(problems "${problems}" PARENT_SCOPE)
    endif()
endfunction()

sitemap_entries(hhc TRUE contents)
expect_same_list(contents "${contents}" "${expected_contents}")

# Keywords, in any order.
string(REGEX MATCHALL "<keyword [^>]*>" tags "${project}")
set(expected_keywords)
foreach(tag IN LISTS tags)
    value_of("${tag}" name name)
    value_of("${tag}" ref ref)
    list(APPEND expected_keywords "${name}|${ref}")
endforeach()
sitemap_entries(hhk FALSE keywords)
list(SORT keywords)
list(SORT expected_keywords)
expect_same_list(keywords "${keywords}" "${expected_keywords}")

# No binary index: Windows' viewer would read that one instead of the .hhk checked above.
if(EXISTS "${WORK}/$WWKeywordLinks")
    problem("the help has a binary keyword index ($WWKeywordLinks), which no test reads")
endif()

# Topic files: every file of the project's <file> patterns that is in the sources is in the help
# unchanged; the rendered images are only in the build, so a pattern just has to find something.
string(REGEX MATCHALL "<file>[^<]*</file>" patterns "${project}")
foreach(pattern IN LISTS patterns)
    string(REGEX REPLACE "</?file>" "" pattern "${pattern}")
    file(GLOB in_help RELATIVE "${WORK}" "${WORK}/${pattern}")
    if(NOT in_help)
        problem("no file in the help for ${pattern}")
    endif()
    file(GLOB in_source RELATIVE "${SOURCE}" "${SOURCE}/${pattern}")
    foreach(name IN LISTS in_source)
        file(SHA256 "${SOURCE}/${name}" source_hash)
        set(help_hash "")
        if(EXISTS "${WORK}/${name}")
            file(SHA256 "${WORK}/${name}" help_hash)
        endif()
        if(NOT source_hash STREQUAL help_hash)
            problem("topic file missing or changed: ${name}")
        endif()
    endforeach()
endforeach()

# A reference from a page of the help (or from its root, for the contents and the index) leads to
# a file of the help and, with a fragment, to an element with that id or an <a> with that name in
# it. Empty when it does; the problem otherwise.
function(reference_problem from reference out)
    string(REGEX MATCH "^([^#]*)(#(.*))?$" ignored "${reference}")
    set(file "${CMAKE_MATCH_1}")
    set(anchor "${CMAKE_MATCH_3}")
    get_filename_component(folder "${from}" DIRECTORY)
    if(file STREQUAL "")
        set(file "${from}")
    elseif(NOT folder STREQUAL "")
        set(file "${folder}/${file}")
    endif()
    set(where "${from}")
    if(where STREQUAL "")
        set(where "contents or index")
    endif()
    set(${out} "" PARENT_SCOPE)
    if(NOT EXISTS "${WORK}/${file}" OR IS_DIRECTORY "${WORK}/${file}")
        set(${out} "${where}: no file ${file}" PARENT_SCOPE)
    elseif(NOT anchor STREQUAL "")
        file(READ "${WORK}/${file}" text)
        string(FIND "${text}" "id=\"${anchor}\"" by_id)
        string(FIND "${text}" "name=\"${anchor}\"" by_name)
        if(by_id EQUAL -1 AND by_name EQUAL -1)
            set(${out} "${where}: no anchor ${anchor} in ${file}" PARENT_SCOPE)
        endif()
    endif()
endfunction()

# Counts the references with an anchor and keeps the problem of each one that leads nowhere.
macro(check_reference from target)
    if("${target}" MATCHES "#")
        math(EXPR anchors "${anchors} + 1")
    endif()
    reference_problem("${from}" "${target}" found)
    if(found)
        problem("${found}")
    endif()
endmacro()

# Every link and image of the pages, other than to addresses outside the help ...
file(GLOB pages RELATIVE "${WORK}" "${WORK}/*.html")
set(links 0)
set(anchors 0)
foreach(page IN LISTS pages)
    file(READ "${WORK}/${page}" text)
    string(REGEX MATCHALL "(href|src)=\"[^\":]*\"" references "${text}")
    foreach(reference IN LISTS references)
        string(REGEX REPLACE "^(href|src)=\"|\"$" "" target "${reference}")
        math(EXPR links "${links} + 1")
        check_reference("${page}" "${target}")
    endforeach()
endforeach()
# ... and every contents entry and keyword: the Local after the last "|".
foreach(entry IN LISTS contents keywords)
    string(REGEX REPLACE "^.*\\|" "" target "${entry}")
    check_reference("" "${target}")
endforeach()

list(LENGTH expected_contents contents_count)
list(LENGTH expected_keywords keyword_count)
list(LENGTH pages page_count)
if(contents_count LESS 20 OR keyword_count LESS 40 OR page_count LESS 9 OR links LESS 30 OR
   anchors LESS 30)
    problem("too little read: ${contents_count} contents entries, ${keyword_count} keywords, "
            "${page_count} pages, ${links} links, ${anchors} references with an anchor")
endif()
if(problems)
    list(JOIN problems "\n" problems)
    list_safe_restore("${problems}" problems)
    message(FATAL_ERROR "${CHM}:\n${problems}")
endif()
message(STATUS "${CHM}: ${contents_count} contents entries, ${keyword_count} keywords, "
               "${page_count} pages and ${links} links as in the project; ${anchors} references "
               "with an anchor lead to it")
