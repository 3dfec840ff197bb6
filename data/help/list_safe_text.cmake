# Text that is to become CMake list items: ';' (also in entities such as &gt;) and brackets, which
# lists treat specially, are held as control characters meanwhile and given back at the end.
# Shared by the HTML Help project's generator and the test that reads the compiled file back.
string(ASCII 1 kSemicolon)
string(ASCII 2 kOpenBracket)
string(ASCII 3 kCloseBracket)

function(read_list_safe path out)
    file(READ "${path}" text)
    string(REPLACE ";" "${kSemicolon}" text "${text}")
    string(REPLACE "[" "${kOpenBracket}" text "${text}")
    string(REPLACE "]" "${kCloseBracket}" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(list_safe_restore text out)
    string(REPLACE "${kSemicolon}" ";" text "${text}")
    string(REPLACE "${kOpenBracket}" "[" text "${text}")
    string(REPLACE "${kCloseBracket}" "]" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
