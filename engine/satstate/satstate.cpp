// The satstate library. Its calls are added with the features that need them; until then the
// library is built and loaded so that the extension's link set is complete.
