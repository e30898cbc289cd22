// Anchor translation unit: the resources themselves are added by qt_add_resources.
