# PKCS#15 codec and latencies: append sources (paths relative to this folder) and tests here.
list(APPEND PAVLENENABLER_SOURCES)
list(APPEND PAVLENENABLER_PKCS15_TESTS)
