# The bitmap and text decoders, fed arbitrary bytes.
quintrel_add_fuzzer(dib
    SOURCES dib_fuzz.cpp
    LIBS quintrel_metafile_decode
)
