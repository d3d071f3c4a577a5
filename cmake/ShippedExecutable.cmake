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

# Link options of a shipped exe: static run-time (no DLL beyond Windows' own), stripped,
# unused sections dropped, Windows XP (5.1) as the oldest system, DEP, ASLR and terminal
# server aware.
function(quenmar_shipped_executable target)
    target_link_options(${target} PRIVATE
        -static -s -Wl,--gc-sections
        -Wl,--major-os-version=5,--minor-os-version=1
        -Wl,--major-subsystem-version=5,--minor-subsystem-version=1
        -Wl,--dynamicbase,--nxcompat,--tsaware)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
    endif()
endfunction()
