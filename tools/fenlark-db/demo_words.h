#pragma once

#include <QString>

#include <vector>

// The words a demo register is made of: names of people and places, and the choices the
// household form offers, each list most common first.
namespace fenlark::dbtool::words {

const std::vector<QString> &surnames();
const std::vector<QString> &maleNameCharacters();
const std::vector<QString> &femaleNameCharacters();
const std::vector<QString> &rareNameCharacters();   // in GBK but outside GB2312
const std::vector<QString> &outsideGbkCharacters(); // not in GBK at all
const std::vector<QString> &placeCharacters();
const std::vector<QString> &nations(); // the 56 nationalities, 汉族 first
const std::vector<QString> &educations();
const std::vector<QString> &banks();
const std::vector<QString> &businesses();
const std::vector<QString> &offences();
const std::vector<QString> &partyPosts();
const std::vector<QString> &keywords();
const std::vector<QString> &hardships();

} // namespace fenlark::dbtool::words
