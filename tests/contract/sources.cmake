# Tests that every platform's adapters must pass, run against the real adapters of the
# platform they are built for; each platform adds its MakePlatformUdpSocket.
set(NORVALE_CONTRACT_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/loopback_peer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loopback_sntp_server.cpp
    ${CMAKE_CURRENT_LIST_DIR}/real_ntp_server_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sntp_loopback_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/udp_socket_contract_test.cpp
)
