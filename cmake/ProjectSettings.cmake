# Settings every target of ours shares, carried by one interface target.
add_library(tovrelline_settings INTERFACE)
target_compile_features(tovrelline_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_definitions(tovrelline_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_DISABLE_DEPRECATED_UP_TO=0x060000
)
target_compile_options(tovrelline_settings INTERFACE
    -Wall
    -Wextra
    -Wold-style-cast
    -Wnon-virtual-dtor
    -Werror
)
target_include_directories(tovrelline_settings INTERFACE ${PROJECT_SOURCE_DIR})

if(TOVRELLINE_SANITIZE)
    set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${sanitize_flags})
    add_link_options(${sanitize_flags})
endif()

if(TOVRELLINE_FUZZ)
    set(fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${fuzz_flags})
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds one static library for a source folder: tovrelline_add_library(name SOURCES ... LIBS ...)
function(tovrelline_add_library name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${arg_SOURCES})
    target_link_libraries(${name} PUBLIC tovrelline_settings ${arg_LIBS})
endfunction()

# Fails the configuration when a target links one of the forbidden libraries, directly or through any of
# its own libraries: tovrelline_forbid_links(target library...). Call it once every target exists.
function(tovrelline_forbid_links target)
    set(pending ${target})
    set(seen "")
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(aliased ${current} ALIASED_TARGET)
        if(aliased)
            set(current ${aliased})
        endif()
        get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
        if(links)
            foreach(link IN LISTS links)
                string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
                foreach(forbidden IN LISTS ARGN)
                    if(link STREQUAL forbidden)
                        message(FATAL_ERROR "${target} must not link ${forbidden} (through ${current})")
                    endif()
                endforeach()
                list(APPEND pending ${link})
            endforeach()
        endif()
    endwhile()
endfunction()
