# Lays a fresh copy of the seed corpus and an empty artifacts folder in RUN_DIR.
file(REMOVE_RECURSE ${RUN_DIR}/corpus)
file(MAKE_DIRECTORY ${RUN_DIR}/artifacts)
file(COPY ${SOURCE}/ DESTINATION ${RUN_DIR}/corpus)
