# The program folder as it ships, <build>/program: the exe (Windows build), face/norvale/ with
# the default skin's description, images and fonts, and sound/. Everything is copied as a
# build step, so a changed image or font is copied again by the next build.

set(NORVALE_PROGRAM_DIR ${PROJECT_BINARY_DIR}/program)

# The default skin's fonts come from Debian's font packages (fonts-dseg, fonts-dejavu-core,
# fonts-dejavu-extra) and travel with their licence texts; they are not kept in the sources.
set(NORVALE_FONT_ROOT /usr/share/fonts/truetype CACHE PATH "Where the Debian font files are")
set(NORVALE_FONT_DOC_ROOT /usr/share/doc CACHE PATH "Where the Debian font licences are")

# Copies the default skin into face/norvale/ and makes sound/, as the target
# norvale_program_folder that every build runs.
function(norvale_lay_out_program_folder)
    set(skin_source ${PROJECT_SOURCE_DIR}/skins/norvale)
    set(skin_target ${NORVALE_PROGRAM_DIR}/face/norvale)
    file(GLOB skin_images CONFIGURE_DEPENDS ${skin_source}/*.png)

    # Pairs of source file and path below the skin folder.
    set(skin_files ${skin_source}/skin.xml skin.xml)
    foreach(image IN LISTS skin_images)
        get_filename_component(name ${image} NAME)
        list(APPEND skin_files ${image} ${name})
    endforeach()
    list(APPEND skin_files
        ${NORVALE_FONT_ROOT}/dseg/DSEG7Classic-Regular.ttf fonts/DSEG7Classic-Regular.ttf
        ${NORVALE_FONT_ROOT}/dejavu/DejaVuSans.ttf fonts/DejaVuSans.ttf
        ${NORVALE_FONT_ROOT}/dejavu/DejaVuSansCondensed.ttf fonts/DejaVuSansCondensed.ttf
        ${NORVALE_FONT_DOC_ROOT}/fonts-dseg/copyright fonts/dseg_licence.txt
        ${NORVALE_FONT_DOC_ROOT}/fonts-dejavu-core/copyright fonts/dejavu_licence.txt
    )

    set(copied)
    while(skin_files)
        list(POP_FRONT skin_files source name)
        if(NOT EXISTS ${source})
            message(FATAL_ERROR "${source} is missing: scripts/setup installs the packages it comes from")
        endif()
        set(target ${skin_target}/${name})
        add_custom_command(OUTPUT ${target}
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
            DEPENDS ${source}
            COMMENT "Copying ${name} into the default skin"
            VERBATIM)
        list(APPEND copied ${target})
    endwhile()

    # The read-me ships as the program's page, which its About item opens; as text, so that
    # every Windows has a program for it.
    set(readme ${NORVALE_PROGRAM_DIR}/README.txt)
    add_custom_command(OUTPUT ${readme}
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${readme}
        DEPENDS ${PROJECT_SOURCE_DIR}/README.md
        COMMENT "Copying the read-me into the program folder"
        VERBATIM)
    list(APPEND copied ${readme})

    add_custom_target(norvale_program_folder ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${NORVALE_PROGRAM_DIR}/sound
        DEPENDS ${copied}
        VERBATIM)
endfunction()
norvale_lay_out_program_folder()

# Gives a test program the program folder's path as NORVALE_PROGRAM_DIR, laid out before the
# test program is built.
function(norvale_program_folder_for target)
    set(folder ${NORVALE_PROGRAM_DIR})
    if(WIN32 AND CMAKE_HOST_UNIX)
        # NOTE: the cross-built tests run under Wine, whose drive Z: is the Unix root.
        set(folder Z:${folder})
    endif()
    target_compile_definitions(${target} PRIVATE NORVALE_PROGRAM_DIR="${folder}")
    add_dependencies(${target} norvale_program_folder)
endfunction()
