// The test programs of the core share the precompiled header built for this file.
