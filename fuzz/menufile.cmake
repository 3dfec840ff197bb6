# The menu-file reader, alone and putting items into an in-memory window.
quintrel_add_fuzzer(menufile_reader
    SOURCES menufile_reader_fuzz.cpp
    LIBS quintrel_menufile_format
)
