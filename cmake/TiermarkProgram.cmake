# What every Tiermark program carries: the program's icon and its version.
#
# The icon is drawn once, as packaging/tiermark.svg, with a simplified drawing for the small sizes
# (packaging/tiermark-small.svg: no lettering, thicker lines) that stays legible at 16 and 24 pixels. At
# configure time rsvg-convert (librsvg2-bin) renders it into PNGs of every size the desktops ask for and
# icotool (icoutils) assembles the Windows icon from them; nothing rendered is kept in the repository.
#   TIERMARK_ICON_SIZES   the sizes rendered (pixels)
#   TIERMARK_ICON_DIR     where tiermark-<size>.png and tiermark.ico are
#   TIERMARK_ICON_PNGS    the PNGs, in the order of the sizes
#
# The version is CMake's project version, the one number of the program: common/program_version.h (the
# main window), the Windows version resource of each executable, the installer and the Debian package take
# it from here.
#
# tiermark_program(<target> <description>) gives a program its icon and version resource on Windows
# (packaging/windows/program.rc.in; the description is the one Explorer shows, in Japanese).

# Runs a tool that writes <output>; when it fails, removes what it left and stops the configuration.
function(tiermark_make_file output failure)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        file(REMOVE ${output})
        message(FATAL_ERROR "${failure}")
    endif()
endfunction()

set(TIERMARK_ICON_SIZES 16 24 32 48 64 128 256)
set(TIERMARK_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(tiermark_icon_drawing ${PROJECT_SOURCE_DIR}/packaging/tiermark.svg)
set(tiermark_icon_small_drawing ${PROJECT_SOURCE_DIR}/packaging/tiermark-small.svg)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tiermark_icon_drawing}
                                                                                     ${tiermark_icon_small_drawing})

find_program(TIERMARK_RSVG_CONVERT rsvg-convert)
find_program(TIERMARK_ICOTOOL icotool)
if(NOT TIERMARK_RSVG_CONVERT OR NOT TIERMARK_ICOTOOL)
    message(FATAL_ERROR "The program's icon is rendered with rsvg-convert (librsvg2-bin) and icotool (icoutils); "
                        "bash tools/install-deps.sh installs them")
endif()

file(MAKE_DIRECTORY ${TIERMARK_ICON_DIR})
set(TIERMARK_ICON_PNGS "")
foreach(size IN LISTS TIERMARK_ICON_SIZES)
    if(size LESS_EQUAL 24)
        set(drawing ${tiermark_icon_small_drawing})
    else()
        set(drawing ${tiermark_icon_drawing})
    endif()
    set(png ${TIERMARK_ICON_DIR}/tiermark-${size}.png)
    if(NOT EXISTS ${png} OR ${drawing} IS_NEWER_THAN ${png})
        tiermark_make_file(${png} "rsvg-convert could not render ${drawing} at ${size} pixels"
                           ${TIERMARK_RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
                           --output ${png} ${drawing})
    endif()
    list(APPEND TIERMARK_ICON_PNGS ${png})
endforeach()

# The Windows icon: the small sizes as bitmaps, 256 pixels as PNG inside the .ico (as Windows Vista and later
# store their large icons).
set(TIERMARK_ICON_ICO ${TIERMARK_ICON_DIR}/tiermark.ico)
set(ico_images "")
foreach(size 16 24 32 48 64)
    list(APPEND ico_images ${TIERMARK_ICON_DIR}/tiermark-${size}.png)
endforeach()
set(ico_newest TRUE)
if(EXISTS ${TIERMARK_ICON_ICO})
    set(ico_newest FALSE)
    foreach(png IN LISTS TIERMARK_ICON_PNGS)
        if(${png} IS_NEWER_THAN ${TIERMARK_ICON_ICO})
            set(ico_newest TRUE)
        endif()
    endforeach()
endif()
if(ico_newest)
    tiermark_make_file(${TIERMARK_ICON_ICO} "icotool could not assemble ${TIERMARK_ICON_ICO}"
                       ${TIERMARK_ICOTOOL} --create --output ${TIERMARK_ICON_ICO} ${ico_images}
                       --raw=${TIERMARK_ICON_DIR}/tiermark-256.png)
endif()

# The version header of the program (common/program_version.h, generated into the build tree).
set(TIERMARK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/common/program_version.h.in ${TIERMARK_GENERATED_DIR}/common/program_version.h
               @ONLY)

if(WIN32)
    enable_language(RC)
endif()

function(tiermark_program target description)
    if(NOT WIN32)
        return()
    endif()
    set(TIERMARK_PROGRAM_NAME ${target})
    set(TIERMARK_PROGRAM_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TIERMARK_ICON_ICO})
endfunction()
