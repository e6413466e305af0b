# Communication stack, card object and Enabler: append sources and tests here, and the extra
# libraries the tests link (test support, card simulator, backends) to PAVLENENABLER_TEST_LIBS.
list(APPEND PAVLENENABLER_SOURCES)
list(APPEND PAVLENENABLER_ENABLER_TESTS)
list(APPEND PAVLENENABLER_TEST_LIBS)
