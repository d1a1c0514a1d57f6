int dummy_options_test;
