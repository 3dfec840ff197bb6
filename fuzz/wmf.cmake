# The metafile reader and record interpreter, fed arbitrary bytes.
quintrel_add_fuzzer(wmf_reader
    SOURCES wmf_reader_fuzz.cpp
    LIBS quintrel_wmf
)
