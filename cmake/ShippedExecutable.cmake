# How the shipped exes are built, in one place: Quenmar.exe, QuenmarCheck.exe and the
# benchmark's reference programs, which must be linked exactly like Quenmar.exe for
# their timings to compare.

# Compile options for code that goes into Quenmar.exe: small, no exception machinery.
# Windows builds only; the host builds the same code with its defaults.
function(quenmar_product_code target)
    if(WIN32)
        target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti
                               -fno-asynchronous-unwind-tables -ffunction-sections
                               -fdata-sections)
    endif()
endfunction()

# The linker stamps a PE file with SOURCE_DATE_EPOCH from the build's environment (the
# current time without it). A shipped exe is linked again whenever that value changes,
# so what a build leaves is always stamped with the value it was given.
set(QUENMAR_EPOCH_FILE ${CMAKE_BINARY_DIR}/source-date-epoch.txt)
add_custom_target(source_date_epoch
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${QUENMAR_EPOCH_FILE}
            -P ${CMAKE_CURRENT_LIST_DIR}/WriteSourceDateEpoch.cmake
    BYPRODUCTS ${QUENMAR_EPOCH_FILE}
    COMMENT "" VERBATIM)

# Link options of a shipped exe: static run-time (no DLL beyond Windows' own), stripped,
# unused sections dropped, Windows XP (5.1) as the oldest system, DEP, ASLR and terminal
# server aware; its time stamp from SOURCE_DATE_EPOCH (see above).
function(quenmar_shipped_executable target)
    add_dependencies(${target} source_date_epoch)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${QUENMAR_EPOCH_FILE})
    target_link_options(${target} PRIVATE
        -static -s -Wl,--gc-sections
        -Wl,--major-os-version=5,--minor-os-version=1
        -Wl,--major-subsystem-version=5,--minor-subsystem-version=1
        -Wl,--dynamicbase,--nxcompat,--tsaware)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
    endif()
endfunction()
