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
    # Ninja runs a target's moc step again only for headers it has parsed before: a header that arrives
    # later (a new file, a merge) would never be moc'ed in an existing build directory. When the
    # folder's list of headers changed since the last configure, drop the step's stamp so it runs.
    set(headers ${srcs})
    list(FILTER headers INCLUDE REGEX "\\.h$")
    string(JOIN "\n" header_list ${headers})
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_headers.txt)
    if(EXISTS ${list_file})
        file(READ ${list_file} previous_list)
        if(NOT previous_list STREQUAL header_list)
            file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp)
        endif()
    endif()
    file(WRITE ${list_file} "${header_list}")
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()
