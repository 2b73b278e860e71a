// The program's pictures, drawn in code: the tree's three images and the product logo.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace dv::qt {

// The tree's image list: 1 a closed folder (every node), 2 an open folder (the selected image
// of the child nodes), 3 the recap board's chart.
QPixmap TreeImage(int number, int size = 16);

// A node's icon: image as its normal picture and selected_image when it is selected.
QIcon TreeIcon(int image, int selected_image);

// The product logo: a dashboard dial with its needle.
QPixmap LogoPixmap(int size);
QIcon AppIcon();

}  // namespace dv::qt
