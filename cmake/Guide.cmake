# The user guides as HTML pages with their pictures, in guide/ beside pmrun.exe: in the run folder at every
# build and in the packages. The help item opens them where no help engine is.
find_program(PMRUN_MARKDOWN markdown_py)
if(NOT PMRUN_MARKDOWN)
    message(FATAL_ERROR "markdown_py not found: it makes the user guide's HTML; install the Debian package "
                        "python3-markdown (scripts/lib.sh installs it)")
endif()

set(PMRUN_GUIDE_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/guide)
set(PMRUN_GUIDE_OUTPUTS)
set(PMRUN_GUIDE_IMAGES)
foreach(lang ja en)
    set(source ${CMAKE_SOURCE_DIR}/docs/guide.${lang}.md)
    set(page ${PMRUN_GUIDE_DIR}/guide.${lang}.html)
    # A picture added to a guide is copied once the guide is read again.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} text)
    string(REGEX MATCHALL "images/[A-Za-z0-9_./-]+\\.png" pictures "${text}")
    list(APPEND PMRUN_GUIDE_IMAGES ${pictures})
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -DMARKDOWN=${PMRUN_MARKDOWN} -DSOURCE=${source} -DPAGE=${page}
                -DLANG=${lang} -P ${CMAKE_SOURCE_DIR}/cmake/GuidePage.cmake
        DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/GuidePage.cmake
        COMMENT "Making guide.${lang}.html" VERBATIM)
    list(APPEND PMRUN_GUIDE_OUTPUTS ${page})
endforeach()
list(REMOVE_DUPLICATES PMRUN_GUIDE_IMAGES)
foreach(picture ${PMRUN_GUIDE_IMAGES})
    add_custom_command(OUTPUT ${PMRUN_GUIDE_DIR}/${picture}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/${picture} ${PMRUN_GUIDE_DIR}/${picture}
        DEPENDS ${CMAKE_SOURCE_DIR}/docs/${picture} VERBATIM)
    list(APPEND PMRUN_GUIDE_OUTPUTS ${PMRUN_GUIDE_DIR}/${picture})
endforeach()
add_custom_target(pmrun_guide DEPENDS ${PMRUN_GUIDE_OUTPUTS})

install(DIRECTORY ${PMRUN_GUIDE_DIR} DESTINATION .)
