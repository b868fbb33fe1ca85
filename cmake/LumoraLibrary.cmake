# One static library per source folder. Sources are picked up from the folder itself (not from
# sub-folders that have a CMakeLists.txt of their own), so adding a form needs no edit here.
function(lumora_library name)
    cmake_parse_arguments(ARG "" "" "LINKS;SUBDIRS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(sub ${ARG_SUBDIRS})
        file(GLOB_RECURSE subsrcs CONFIGURE_DEPENDS
            ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.h)
        list(APPEND srcs ${subsrcs})
    endforeach()
    list(FILTER srcs INCLUDE REGEX "\\.cpp$|\\.h$")
    set(has_cpp FALSE)
    foreach(f ${srcs})
        if(f MATCHES "\\.cpp$")
            set(has_cpp TRUE)
        endif()
    endforeach()
    if(NOT has_cpp)
        # A folder that holds no code yet still gives a library, so the dependency graph stays fixed.
        set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
        file(WRITE ${stub} "// ${name} has no sources yet\n")
        list(APPEND srcs ${stub})
    endif()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()
