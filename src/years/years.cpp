// placeholder so the library has a translation unit until its first real file lands
