# The core's unit tests; the Windows test program runs them too, so the core is also checked
# with the cross compiler's standard library.
set(NORVALE_UNIT_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/calendar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clock_sound_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fake_registry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_placement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_storage_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_date_time_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/integer_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/label_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/locale_picture_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/media_player_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ntp_timestamp_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/number_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parse_date_time_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pixel_ops_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/png_decoder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rot_layer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_button_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_image_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_menu_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sntp_client_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/socket_error_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stopwatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_time_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/time_parts_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/time_server_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/utf16_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_label_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/zone_conversion_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/zone_database_test.cpp
)

# Suites every adapter of a port passes; each test program adds its own adapters' factories.
set(NORVALE_CONTRACT_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../contract/loopback_peer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/loopback_sntp_server.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/real_ntp_server_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/registry_contract.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/skin_description_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/skin_loader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/sntp_loopback_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/text_rasterizer_contract.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/udp_socket_contract_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../contract/xml_document_contract.cpp
)
