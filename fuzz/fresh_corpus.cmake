# Lays a fresh copy of the seed corpus and an empty artifacts folder in RUN_DIR,
# with a few long seeds made here rather than kept in the tree: lines of up to
# 1 MB, which the small seeds would take the fuzzer long to grow into.
file(REMOVE_RECURSE ${RUN_DIR}/corpus)
file(MAKE_DIRECTORY ${RUN_DIR}/artifacts)
file(COPY ${SOURCE}/ DESTINATION ${RUN_DIR}/corpus)

string(REPEAT "1234567890" 100000 digits)
string(REPEAT " " 500000 blanks)
string(REPEAT "comment " 125000 comment)
string(REPEAT "  7   8" 2900 row)
string(REPEAT "${row}\n" 48 rows)
# Every point after the first repeats the last line.
file(WRITE ${RUN_DIR}/corpus/long_digits_early_end.qel "3000\n2999.${digits}")
file(WRITE ${RUN_DIR}/corpus/long_blanks_early_end.qel "3000\n${blanks}1 2 3${blanks}")
file(WRITE ${RUN_DIR}/corpus/long_comment_early_end.qel "3000\n1 2 3\n#${comment}")
file(WRITE ${RUN_DIR}/corpus/long_rows.qel "48\n${rows}3\n1 15\n2 15\n48 9\n")
