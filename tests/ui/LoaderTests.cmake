# The odds loader through the main window: good files, unusable files, and proof that the SPAT4
# folder is only ever read.
foreach(name LoaderWindowTest LoaderBadFileTest LoaderReadOnlyTest)
    milka_ui_test(${name} ${name}.cpp LoaderTestSupport.h Form1TestSupport.h)
    target_link_libraries(${name} PRIVATE spat4_sample)
endforeach()
