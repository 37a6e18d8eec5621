# Delay-loaded imports. Windows looks for a DLL that is not one of its KnownDLLs in the
# program's own folder first, and a static import is loaded before the program's first line
# can tell it otherwise; a delay-loaded one is loaded at its first call, through LoadLibrary,
# after the program has limited the search to the system folder.
#
# norvale_delay_load(TARGET VISIBILITY NAME...) links TARGET with NAME.dll delay-loaded. GNU ld
# has no /DELAYLOAD: dlltool makes a delay-import library from a module definition, which is
# read here from the toolchain's own import library (every function it declares). Elsewhere
# (MSVC, clang's lld) the linker's own option does it.
function(norvale_delay_load target visibility)
    if(NOT MINGW)
        foreach(name IN LISTS ARGN)
            target_link_libraries(${target} ${visibility} ${name})
            target_link_options(${target} ${visibility} "LINKER:/DELAYLOAD:${name}.dll")
        endforeach()
        target_link_libraries(${target} ${visibility} delayimp)
        return()
    endif()
    find_program(NORVALE_DLLTOOL NAMES ${NORVALE_MINGW_TRIPLE}-dlltool dlltool REQUIRED)
    set(folder ${CMAKE_BINARY_DIR}/delay_load)
    file(MAKE_DIRECTORY ${folder})
    foreach(name IN LISTS ARGN)
        find_library(NORVALE_IMPORT_${name} NAMES lib${name}.a REQUIRED NO_CACHE)
        set(library ${folder}/lib${name}_delay.a)
        if(NOT EXISTS ${library} OR NORVALE_IMPORT_${name} IS_NEWER_THAN ${library})
            execute_process(COMMAND ${CMAKE_NM} -g ${NORVALE_IMPORT_${name}}
                            OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
            # Each function of an import library has its import-table slot "__imp_NAME".
            string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" slots "${symbols}")
            list(TRANSFORM slots REPLACE " I __imp_" "")
            list(REMOVE_DUPLICATES slots)
            list(JOIN slots "\n" exports)
            file(WRITE ${folder}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
            execute_process(COMMAND ${NORVALE_DLLTOOL} --input-def ${folder}/${name}.def
                                    --dllname ${name}.dll --output-delaylib ${library}
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
        target_link_libraries(${target} ${visibility} ${library})
    endforeach()
endfunction()
