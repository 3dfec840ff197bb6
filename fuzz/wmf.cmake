# The metafile reader and record player, fed arbitrary bytes: once into a checking canvas,
# once through the QPainter canvas into an image (when the fuzz build found Qt). The player's
# work bound keeps every play far under a second; an input that takes two is a finding.
quintrel_add_fuzzer(wmf_reader
    SOURCES wmf_reader_fuzz.cpp
    LIBS quintrel_metafile_player
    SMOKE_ARGS -timeout=2
)

if(TARGET quintrel_metafile_qt)
    quintrel_add_fuzzer(wmf_painter
        SOURCES wmf_painter_fuzz.cpp
        LIBS quintrel_metafile_qt
        SMOKE_ARGS -timeout=2
    )
    # Qt's font and platform caches live for the whole run: not leaks of one input.
    set_property(TEST wmf_painter_smoke PROPERTY ENVIRONMENT
                 "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
else()
    message(STATUS "Qt 6 Gui not found: the wmf_painter fuzz target is not built")
endif()
