# The program folder as it ships, <build>/program: the exe (Windows build), face/<skin>/ for
# every skin that ships (its description, images and fonts), and sound/. Everything is copied
# as a build step, so a changed image or font is copied again by the next build.

set(NORVALE_PROGRAM_DIR ${PROJECT_BINARY_DIR}/program)

# The skins' fonts come from Debian's font packages (fonts-dseg, fonts-dejavu-core,
# fonts-dejavu-extra, fonts-inter, fonts-lato) and travel with their licence texts; they are
# not kept in the sources.
set(NORVALE_FONT_ROOT /usr/share/fonts/truetype CACHE PATH "Where the Debian font files are")
set(NORVALE_OPENTYPE_FONT_ROOT /usr/share/fonts/opentype CACHE PATH
    "Where the Debian OpenType font files are")
set(NORVALE_FONT_DOC_ROOT /usr/share/doc CACHE PATH "Where the Debian font licences are")

set(dseg7 ${NORVALE_FONT_ROOT}/dseg/DSEG7Classic-Regular.ttf fonts/DSEG7Classic-Regular.ttf)
set(dseg14 ${NORVALE_FONT_ROOT}/dseg/DSEG14Classic-Regular.ttf fonts/DSEG14Classic-Regular.ttf)
set(dseg_licence ${NORVALE_FONT_DOC_ROOT}/fonts-dseg/copyright fonts/dseg_licence.txt)
set(dejavu_sans ${NORVALE_FONT_ROOT}/dejavu/DejaVuSans.ttf fonts/DejaVuSans.ttf)
set(dejavu_condensed
    ${NORVALE_FONT_ROOT}/dejavu/DejaVuSansCondensed.ttf fonts/DejaVuSansCondensed.ttf)
set(dejavu_licence ${NORVALE_FONT_DOC_ROOT}/fonts-dejavu-core/copyright fonts/dejavu_licence.txt)
set(inter ${NORVALE_OPENTYPE_FONT_ROOT}/inter/Inter-Regular.otf fonts/Inter-Regular.otf)
set(inter_licence ${NORVALE_FONT_DOC_ROOT}/fonts-inter/copyright fonts/inter_licence.txt)
set(lato ${NORVALE_FONT_ROOT}/lato/Lato-Regular.ttf fonts/Lato-Regular.ttf)
set(lato_licence ${NORVALE_FONT_DOC_ROOT}/fonts-lato/copyright fonts/lato_licence.txt)

# Copies the skin `name` into face/<name>/: skin.xml, its PNG images and, from ARGN, pairs of a
# source file and its path below the skin folder (its fonts and their licences). Appends the
# copies to `copied` in the caller's scope.
function(norvale_lay_out_skin name)
    set(skin_source ${PROJECT_SOURCE_DIR}/skins/${name})
    set(skin_target ${NORVALE_PROGRAM_DIR}/face/${name})
    file(GLOB skin_images CONFIGURE_DEPENDS ${skin_source}/*.png)

    # Pairs of source file and path below the skin folder.
    set(skin_files ${skin_source}/skin.xml skin.xml)
    foreach(image IN LISTS skin_images)
        get_filename_component(image_name ${image} NAME)
        list(APPEND skin_files ${image} ${image_name})
    endforeach()
    list(APPEND skin_files ${ARGN})

    while(skin_files)
        list(POP_FRONT skin_files source path)
        if(NOT EXISTS ${source})
            message(FATAL_ERROR "${source} is missing: scripts/setup installs the packages it comes from")
        endif()
        set(target ${skin_target}/${path})
        add_custom_command(OUTPUT ${target}
            COMMAND ${CMAKE_COMMAND} -E copy ${source} ${target}
            DEPENDS ${source}
            COMMENT "Copying ${path} into the skin ${name}"
            VERBATIM)
        list(APPEND copied ${target})
    endwhile()
    set(copied ${copied} PARENT_SCOPE)
endfunction()

# Lays out every skin that ships and makes sound/, as the target norvale_program_folder that
# every build runs. "norvale" is the default skin; the Skins menu lists the others beside it.
function(norvale_lay_out_program_folder)
    set(copied)
    norvale_lay_out_skin(norvale ${dseg7} ${dejavu_sans} ${dejavu_condensed} ${dseg_licence}
                         ${dejavu_licence})
    norvale_lay_out_skin(atelier ${inter} ${lato} ${inter_licence} ${lato_licence})
    norvale_lay_out_skin(ember ${dseg7} ${dseg14} ${dseg_licence})
    norvale_lay_out_skin(halo ${lato} ${lato_licence})
    norvale_lay_out_skin(paper ${dseg7} ${dejavu_sans} ${dejavu_condensed} ${dseg_licence}
                         ${dejavu_licence})

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
