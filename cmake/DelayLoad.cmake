# Delay-loaded system DLLs for the programs that run elevated from a download
# folder (SETUP.EXE and ORVSTUB.EXE). Windows resolves a program's imports
# while the process starts, searching the program's own folder first for
# every DLL that is not one of its known DLLs (version.dll, lz32.dll,
# comctl32.dll), and a system DLL's own imports the same way (under Wine,
# user32.dll imports version.dll). A delay-loaded DLL is loaded at its first
# call instead, after the program has restricted the search to the system
# folder (src/services/SystemLibraries.h). Only kernel32, advapi32 and the C
# runtime, none of which brings in another DLL from there, stay ordinary
# imports.
#
# GNU ld has no delay-load option; dlltool makes a delay-import library
# from a module definition, written here from the functions that MinGW's
# own import library of the DLL exports. The helper that loads the DLL at
# the first call (__delayLoadHelper2) is MinGW's (libmingwex).
set(ORV_DELAY_LOADED_DLLS user32 gdi32 comctl32 shell32 ole32 oleaut32 oleacc lz32 version)

set(ORV_DELAY_IMPORT_FOLDER ${CMAKE_BINARY_DIR}/delayload)
file(MAKE_DIRECTORY ${ORV_DELAY_IMPORT_FOLDER})
foreach(dll IN LISTS ORV_DELAY_LOADED_DLLS)
    find_library(ORV_IMPORT_LIBRARY_${dll} NAMES lib${dll}.a REQUIRED)
    set(delayLibrary ${ORV_DELAY_IMPORT_FOLDER}/lib${dll}_delay.a)
    set(ORV_DELAY_IMPORT_${dll} ${delayLibrary})
    if(EXISTS ${delayLibrary})
        continue()
    endif()
    execute_process(COMMAND ${CMAKE_NM} --defined-only -g ${ORV_IMPORT_LIBRARY_${dll}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # The code symbols ("T name"); the import pointers (__imp_name) and the
    # library's own bookkeeping symbols are not functions.
    string(REGEX MATCHALL "[0-9a-fA-F]+ T [A-Za-z][A-Za-z0-9_@]*" functions "${symbols}")
    set(definition "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(line IN LISTS functions)
        string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${line}")
        string(APPEND definition "${name}\n")
    endforeach()
    file(WRITE ${ORV_DELAY_IMPORT_FOLDER}/${dll}.def "${definition}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${ORV_DELAY_IMPORT_FOLDER}/${dll}.def
                            --output-delaylib ${delayLibrary} --dllname ${dll}.dll
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# The system libraries named in a layer's LINKS, as a target linking the
# layer needs them: the delay-import library of a delay-loaded DLL for a
# program whose ORV_DELAY_LOAD property is on (the generator expression is
# evaluated for the program being linked), else the import library itself.
function(orv_system_libraries out)
    set(libraries)
    foreach(name IN LISTS ARGN)
        if(name IN_LIST ORV_DELAY_LOADED_DLLS)
            list(APPEND libraries "$<IF:$<BOOL:$<TARGET_PROPERTY:ORV_DELAY_LOAD>>,${ORV_DELAY_IMPORT_${name}},${name}>")
        else()
            list(APPEND libraries ${name})
        endif()
    endforeach()
    set(${out} ${libraries} PARENT_SCOPE)
endfunction()
