# The core's unit tests; the Windows test program runs them too, so the core is also checked
# with the cross compiler's standard library.
set(NORVALE_UNIT_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/calendar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_date_time_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/label_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/locale_picture_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/number_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parse_date_time_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pixel_ops_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/png_decoder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rot_layer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stopwatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/time_parts_test.cpp
)

# Suites every adapter of a port passes; each test program adds its own adapters' factories.
set(NORVALE_CONTRACT_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../contract/text_rasterizer_contract.cpp
)
