# Checks that every source folder of src/ includes only its own layer and the layers below it, so that nothing
# includes upwards and the core never reaches a widget. Run as: cmake -DSRC=<src folder> -P layers.cmake
set(LAYERS
    "platform"
    "platform/db"
    "platform/services"
    "data"
    "source"
    "banques"
    "conversion"
    "demarrage"
    "avertissements"
    "results"
    "session"
    "bilan"
    "widgets"
    "desktop"
    "frames"
    "forms"
    "app"
    "edition"
    "classeur"
    "atelier")
# What each layer may include besides itself (and "platform", the error type every layer shares).
set(ALLOWED_platform "")
set(ALLOWED_platform/db "")
set(ALLOWED_platform/services "")
set(ALLOWED_data "platform/db;platform/services")
set(ALLOWED_source "platform/db;platform/services;data")
set(ALLOWED_banques "data;source")
set(ALLOWED_conversion "platform/db;platform/services;data;source")
set(ALLOWED_demarrage "platform/services")
set(ALLOWED_avertissements "platform/services")
set(ALLOWED_results "platform/db;platform/services;data;avertissements")
set(ALLOWED_session "platform/db;platform/services;data;avertissements;results")
set(ALLOWED_bilan "platform/db;platform/services;data;avertissements;results;session")
set(ALLOWED_widgets "platform/services")
set(ALLOWED_desktop "platform/services")
set(ALLOWED_frames "platform/db;platform/services;data;avertissements;results;session;widgets")
set(ALLOWED_forms "platform/db;platform/services;data;avertissements;results;session;widgets;frames")
set(ALLOWED_app "platform/db;platform/services;data;demarrage;avertissements;results;session;widgets;desktop;frames;forms")
set(ALLOWED_edition "platform/db;platform/services;data;source")
set(ALLOWED_classeur "platform/db;platform/services;data;bilan")
set(ALLOWED_atelier "platform/db;platform/services;data;source;conversion;demarrage;edition;avertissements;results;session;bilan;widgets;desktop;frames;classeur")

set(failures "")
foreach(layer IN LISTS LAYERS)
    file(GLOB sources "${SRC}/${layer}/*.h" "${SRC}/${layer}/*.cpp")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"[^\"]+\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
            get_filename_component(folder "${included}" DIRECTORY)
            if(folder STREQUAL "" OR folder STREQUAL layer OR folder STREQUAL "platform")
                continue()
            endif()
            list(FIND ALLOWED_${layer} "${folder}" found)
            if(found EQUAL -1)
                file(RELATIVE_PATH shown "${SRC}" "${source}")
                string(APPEND failures "  ${shown} includes ${included} (layer ${folder} is not below ${layer})\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(NOT failures STREQUAL "")
    message(FATAL_ERROR "Includes against the layers:\n${failures}")
endif()
message(STATUS "Every layer includes only the layers below it")
