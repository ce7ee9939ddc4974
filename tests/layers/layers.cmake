# Checks that every source folder of src/ and tools/ includes only its own layer and the layers below it, so that
# nothing includes upwards, the core never reaches a widget and a tool takes only what it needs.
# Run as: cmake -DSRC=<src folder> -DTOOLS=<tools folder> -P layers.cmake
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
    "graphiques"
    "exportations"
    "editeur"
    "classe"
    "atelier"
    "tools/lecteuraccess"
    "tools/mktest"
    "tools/outil")
# What each layer may include besides itself (and "platform", the error type every layer shares).
set(ALLOWED_platform "")
set(ALLOWED_platform/db "")
set(ALLOWED_platform/services "")
set(ALLOWED_data "platform/db;platform/services")
set(ALLOWED_source "platform/db;platform/services;data")
set(ALLOWED_banques "data;source")
set(ALLOWED_conversion "platform/db;platform/services;data;source")
set(ALLOWED_demarrage "platform/services;data")
set(ALLOWED_avertissements "platform/services")
set(ALLOWED_results "platform/db;platform/services;data;avertissements")
set(ALLOWED_session "platform/db;platform/services;data;avertissements;results")
set(ALLOWED_bilan "platform/db;platform/services;data;avertissements;results;session")
set(ALLOWED_widgets "platform/services;data")
set(ALLOWED_desktop "platform/services")
set(ALLOWED_frames "platform/db;platform/services;data;avertissements;results;session;widgets")
set(ALLOWED_forms "platform/db;platform/services;data;avertissements;results;session;widgets;frames")
set(ALLOWED_app "platform/db;platform/services;data;demarrage;avertissements;results;session;widgets;desktop;frames;forms")
set(ALLOWED_edition "platform/db;platform/services;data;source")
set(ALLOWED_classeur "platform/db;platform/services;data;bilan")
set(ALLOWED_graphiques "platform/db;platform/services;data;bilan")
set(ALLOWED_exportations "platform/db;platform/services;data;avertissements;results;session;bilan;desktop;classeur;graphiques")
set(ALLOWED_editeur "platform/db;platform/services;data;source;edition;avertissements;results;session;widgets;desktop;frames")
set(ALLOWED_classe "platform/db;platform/services;data;avertissements;results;session;bilan;widgets;desktop;frames;classeur;graphiques;exportations")
set(ALLOWED_atelier "platform/db;platform/services;data;source;banques;conversion;demarrage;edition;avertissements;results;session;bilan;widgets;desktop;frames;classeur;graphiques;exportations;editeur;classe")
# The tools: the Access reader speaks the conversion's protocol only; kelvane-outil writes tests, settings, pictures,
# banks and the class summary, without any window of the workbench.
set(ALLOWED_tools/lecteuraccess "conversion")
set(ALLOWED_tools/mktest "platform/db;platform/services;data;source;banques;conversion;avertissements;results;session;bilan;desktop;classeur;graphiques;exportations")
set(ALLOWED_tools/outil "")

set(failures "")
foreach(layer IN LISTS LAYERS)
    if(layer MATCHES "^tools/")
        string(REGEX REPLACE "^tools/" "${TOOLS}/" folder_path "${layer}")
    else()
        set(folder_path "${SRC}/${layer}")
    endif()
    file(GLOB sources "${folder_path}/*.h" "${folder_path}/*.cpp")
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
                file(RELATIVE_PATH shown "${SRC}/.." "${source}")
                string(APPEND failures "  ${shown} includes ${included} (layer ${folder} is not below ${layer})\n")
            endif()
        endforeach()
    endforeach()
endforeach()
if(NOT failures STREQUAL "")
    message(FATAL_ERROR "Includes against the layers:\n${failures}")
endif()
message(STATUS "Every layer includes only the layers below it")
