# Makes the Windows Installer package NorvaleTimeClock-<version>-x64.msi of a program folder
# with wixl (Debian package wixl), from cmake/installer.wxs.in. cpack runs it as the External
# generator's script on its staging folder (cmake/release_package.cmake); by hand:
#   cmake -DNORVALE_MSI_STAGE=<program folder> -DNORVALE_MSI_VERSION=<x.y.z>
#         -DNORVALE_MSI_OUTPUT=<package.msi> -P cmake/msi_package.cmake

# Never to change: Windows Installer knows the product, and so its upgrades, by this code.
set(NORVALE_MSI_UPGRADE_CODE CCF960C0-845E-4FF8-A7E6-DB2B9914FC11)
# Each folder's component, and its key path: a value under this key.
set(NORVALE_MSI_KEY "Software\\Brannick\\NorvaleTimeClockSetup")
get_filename_component(source_dir ${CMAKE_CURRENT_LIST_DIR}/.. REALPATH)

if(CPACK_TEMPORARY_DIRECTORY)
    # The staging folder is the program folder.
    set(NORVALE_MSI_STAGE ${CPACK_TEMPORARY_DIRECTORY})
    set(NORVALE_MSI_VERSION ${CPACK_PACKAGE_VERSION})
    set(NORVALE_MSI_OUTPUT ${CPACK_TOPLEVEL_DIRECTORY}/NorvaleTimeClock-${CPACK_PACKAGE_VERSION}-x64.msi)
endif()
foreach(required NORVALE_MSI_STAGE NORVALE_MSI_VERSION NORVALE_MSI_OUTPUT)
    if(NOT ${required})
        message(FATAL_ERROR "${required} is not set")
    endif()
endforeach()

find_program(WIXL wixl REQUIRED)

# A stable GUID for each folder's component, made from the folder's path.
function(component_guid relative out)
    string(UUID guid NAMESPACE ${NORVALE_MSI_UPGRADE_CODE} NAME "folder:${relative}" TYPE SHA1 UPPER)
    set(${out} ${guid} PARENT_SCOPE)
endfunction()

# Appends the WiX elements of the folder `relative` (below the stage, "" for the top), its
# files in one component and its subfolders nested, to the variables folders and refs.
set(file_count 0)
function(describe_folder relative indent)
    set(absolute ${NORVALE_MSI_STAGE})
    set(slash "")
    if(relative)
        set(absolute ${NORVALE_MSI_STAGE}/${relative})
        set(slash /)
    endif()
    string(MAKE_C_IDENTIFIER "folder_${relative}" id)
    if(NOT relative)
        set(id folder_program)
    endif()
    component_guid("${relative}" guid)
    file(GLOB entries LIST_DIRECTORIES true RELATIVE ${absolute} ${absolute}/*)
    list(SORT entries)
    set(xml "${indent}<Component Id=\"${id}\" Guid=\"${guid}\">\n")
    string(APPEND xml "${indent}  <RemoveFolder Id=\"remove_${id}\" On=\"uninstall\" />\n")
    string(APPEND xml "${indent}  <RegistryValue Root=\"HKCU\" Key=\"${NORVALE_MSI_KEY}\" Name=\"${id}\" Type=\"integer\" Value=\"1\" KeyPath=\"yes\" />\n")
    set(subfolders)
    foreach(entry IN LISTS entries)
        if(IS_DIRECTORY ${absolute}/${entry})
            list(APPEND subfolders ${entry})
        else()
            math(EXPR file_count "${file_count} + 1")
            string(APPEND xml "${indent}  <File Id=\"file_${file_count}\" Name=\"${entry}\" Source=\"program/${relative}${slash}${entry}\" />\n")
        endif()
    endforeach()
    string(APPEND xml "${indent}</Component>\n")
    set(refs "${refs}      <ComponentRef Id=\"${id}\" />\n")
    foreach(subfolder IN LISTS subfolders)
        set(child ${subfolder})
        if(relative)
            set(child ${relative}/${subfolder})
        endif()
        string(MAKE_C_IDENTIFIER "dir_${child}" child_id)
        string(APPEND xml "${indent}<Directory Id=\"${child_id}\" Name=\"${subfolder}\">\n")
        set(folders "")
        describe_folder(${child} "${indent}  ")
        string(APPEND xml "${folders}${indent}</Directory>\n")
    endforeach()
    set(folders "${xml}" PARENT_SCOPE)
    set(refs "${refs}" PARENT_SCOPE)
    set(file_count ${file_count} PARENT_SCOPE)
endfunction()

set(refs "")
describe_folder("" "            ")
set(NORVALE_MSI_FOLDERS "${folders}")
string(REGEX REPLACE "\n$" "" NORVALE_MSI_FOLDERS "${NORVALE_MSI_FOLDERS}")
string(REGEX REPLACE "\n$" "" NORVALE_MSI_COMPONENT_REFS "${refs}")
component_guid("start menu" NORVALE_MSI_SHORTCUT_GUID)

# NOTE: wixl finds a source file only by a path relative to the folder it runs in: it runs in
# a folder of its own that holds the icon and a link to the program folder.
get_filename_component(output_dir ${NORVALE_MSI_OUTPUT} DIRECTORY)
set(work ${output_dir}/NorvaleTimeClock-msi)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(CREATE_LINK ${NORVALE_MSI_STAGE} ${work}/program SYMBOLIC)
file(COPY_FILE ${source_dir}/src/win32/resources/icons/app.ico ${work}/app.ico)
configure_file(${source_dir}/cmake/installer.wxs.in ${work}/NorvaleTimeClock.wxs @ONLY)
execute_process(COMMAND ${WIXL} -a x64 NorvaleTimeClock.wxs -o ${NORVALE_MSI_OUTPUT}
                WORKING_DIRECTORY ${work}
                RESULT_VARIABLE status)
file(REMOVE_RECURSE ${work})
if(NOT status EQUAL 0)
    message(FATAL_ERROR "wixl could not make ${NORVALE_MSI_OUTPUT}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${NORVALE_MSI_OUTPUT})
